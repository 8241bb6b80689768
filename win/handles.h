// Owners for Windows handles: each closes its handle the way it was obtained,
// on every path. Move-only; get() lends the raw handle, release() gives it up.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace varnelo::win {

template <typename Handle, typename Closer>
class Owner {
 public:
  Owner() = default;
  explicit Owner(Handle handle) : handle_(handle) {}
  Owner(const Owner&) = delete;
  Owner& operator=(const Owner&) = delete;
  Owner(Owner&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  Owner& operator=(Owner&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, Handle{}));
    return *this;
  }
  ~Owner() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  Handle release() { return std::exchange(handle_, Handle{}); }
  void reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Closer{}(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

struct GdiObjectCloser {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DcCloser {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct GlobalCloser {
  void operator()(HGLOBAL memory) const { GlobalFree(memory); }
};
struct KernelHandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct WindowCloser {
  void operator()(HWND window) const { DestroyWindow(window); }
};
struct MetaFileCloser {
  void operator()(HMETAFILE metafile) const { DeleteMetaFile(metafile); }
};
struct EnhMetaFileCloser {
  void operator()(HENHMETAFILE metafile) const { DeleteEnhMetaFile(metafile); }
};
// A recording DC abandoned before its metafile was taken: closed, and the
// metafile it gives back deleted.
struct MetaFileDcCloser {
  void operator()(HDC dc) const { DeleteMetaFile(CloseMetaFile(dc)); }
};
struct EnhMetaFileDcCloser {
  void operator()(HDC dc) const { DeleteEnhMetaFile(CloseEnhMetaFile(dc)); }
};
struct ComCloser {
  void operator()(IUnknown* object) const { object->Release(); }
};

using Bitmap = Owner<HBITMAP, GdiObjectCloser>;
using Brush = Owner<HBRUSH, GdiObjectCloser>;
using Font = Owner<HFONT, GdiObjectCloser>;
using MemoryDc = Owner<HDC, DcCloser>;  // from CreateCompatibleDC
using GlobalMemory = Owner<HGLOBAL, GlobalCloser>;
// A kernel handle closed with CloseHandle. CreateFile reports failure as
// INVALID_HANDLE_VALUE: test for it before handing the result to an owner.
using KernelHandle = Owner<HANDLE, KernelHandleCloser>;
using Window = Owner<HWND, WindowCloser>;  // a window this code created
using MetaFile = Owner<HMETAFILE, MetaFileCloser>;
using EnhMetaFile = Owner<HENHMETAFILE, EnhMetaFileCloser>;
// From CreateMetaFileA / CreateEnhMetaFileA; release() it into CloseMetaFile
// or CloseEnhMetaFile to take the metafile.
using MetaFileDc = Owner<HDC, MetaFileDcCloser>;
using EnhMetaFileDc = Owner<HDC, EnhMetaFileDcCloser>;

// A COM interface pointer released with Release().
template <typename Interface>
using ComPtr = Owner<Interface*, ComCloser>;

// A window's DC from GetDC, given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(window_, &paint_); }
  HDC get() const { return dc_; }
  const PAINTSTRUCT& paint() const { return paint_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a DC and selects the previous one back. Declare the
// owner of the object before the selection, so the old object is back in the
// DC before the new one is deleted.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc ? SelectObject(dc, object) : nullptr) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() {
    if (dc_ && previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A lock on movable global memory.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL memory) : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  ~GlobalLockGuard() {
    if (data_) GlobalUnlock(memory_);
  }
  void* data() const { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};

// CoInitialize for the current thread, CoUninitialize when it succeeded.
class ComInit {
 public:
  ComInit() : result_(CoInitialize(nullptr)) {}
  ComInit(const ComInit&) = delete;
  ComInit& operator=(const ComInit&) = delete;
  ~ComInit() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

// The clipboard, open for the length of a scope.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  ~ClipboardSession() {
    if (open_) CloseClipboard();
  }
  bool open() const { return open_; }

 private:
  bool open_;
};

}  // namespace varnelo::win
