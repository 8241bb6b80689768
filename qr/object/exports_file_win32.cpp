// Replacing a file on Windows: a uniquely named file in the target's folder
// (ANSI path functions, as the path is an ANSI text), written and flushed,
// then moved over the target.
#include <windows.h>

#include <algorithm>
#include <string>

#include "qr/object/exports_file.h"
#include "win/handles.h"

namespace varnelo::qr {

namespace {

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

}  // namespace

bool WriteExportFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  static unsigned counter = 0;
  std::string temporary;
  win::KernelHandle file;
  for (int attempt = 0; attempt < 16 && !file; ++attempt) {
    temporary =
        path + ".~" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
    const HANDLE created = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created != INVALID_HANDLE_VALUE)
      file.reset(created);
    else if (GetLastError() != ERROR_FILE_EXISTS)
      return false;
  }
  if (!file) return false;
  bool ok = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
  // Closed before the move: an open file cannot be renamed.
  ok = CloseHandle(file.release()) && ok;
  if (ok)
    ok = MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) DeleteFileA(temporary.c_str());
  return ok;
}

}  // namespace varnelo::qr
