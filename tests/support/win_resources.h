// What a Windows process holds: GDI objects, windows and private memory. Used
// by the tests that check that outputs and long runs leak nothing.
#pragma once

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <cstring>

namespace varnelo::testing {

// The process's GDI objects. Wine answers GetGuiResources with 0, so there
// the used entries of the process's GDI handle table (PEB offset 0xF8 on
// x86-64, 24-byte entries, type byte at 14) are counted instead. -1 when
// neither is available.
inline long GdiObjectCount() {
  if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
  struct Entry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
  };
  static_assert(sizeof(Entry) == 24);
  // MinGW's NtCurrentTeb reads gs:[0x30] in a way GCC takes for an access
  // to a zero-length array.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#endif
  const auto* peb = reinterpret_cast<const std::uint8_t*>(NtCurrentTeb()->ProcessEnvironmentBlock);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  const Entry* table = nullptr;
  std::memcpy(&table, peb + 0xF8, sizeof table);
  if (!table) return -1;
  long used = 0;
  for (int i = 0; i < 0x10000; ++i) used += table[i].type != 0;
  return used;
}

// USER objects as far as they can be seen from inside: GetGuiResources where
// the platform answers it, else the windows (top-level and child) of this
// process.
inline long UserObjectCount() {
  if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return count;
  struct Counter {
    static BOOL CALLBACK Child(HWND, LPARAM count) {
      ++*reinterpret_cast<long*>(count);
      return TRUE;
    }
    static BOOL CALLBACK Top(HWND window, LPARAM count) {
      DWORD process = 0;
      GetWindowThreadProcessId(window, &process);
      if (process != GetCurrentProcessId()) return TRUE;
      ++*reinterpret_cast<long*>(count);
      EnumChildWindows(window, Child, count);
      return TRUE;
    }
  };
  long count = 0;
  EnumWindows(Counter::Top, reinterpret_cast<LPARAM>(&count));
  // Message-only windows are not enumerated by EnumWindows.
  HWND message = nullptr;
  while ((message = FindWindowExA(HWND_MESSAGE, message, nullptr, nullptr)) != nullptr) {
    DWORD process = 0;
    GetWindowThreadProcessId(message, &process);
    if (process == GetCurrentProcessId()) ++count;
  }
  return count;
}

// Private bytes committed by the process (0 when the platform cannot say).
inline std::size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof counters)) {
    return 0;
  }
  return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

}  // namespace varnelo::testing
