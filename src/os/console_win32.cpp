// Windows: a console is a character device; files, pipes and NUL are not
// (NUL is a character device too, but has no console mode).
#include "os/console.h"

#include <io.h>
#include <windows.h>

#include <string>

#include "os/ansi_path_win32.h"

namespace os {

bool standardErrorIsTerminal() {
  const HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return false;
  if (GetFileType(handle) != FILE_TYPE_CHAR) return false;
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0;
}

void writeToStream(std::FILE* stream, const std::string& text) {
  std::fflush(stream);
  // Only a launcher running with UTF-8 needs it, on a Windows (10 and
  // later) whose consoles take wide text.
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (!text.empty() && GetACP() == CP_UTF8 && handle != INVALID_HANDLE_VALUE &&
      GetConsoleMode(handle, &mode)) {
    const WideText wide = wideFromAnsi(text);  // the code page is UTF-8
    DWORD written = 0;
    if (!wide.empty() &&
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size() - 1), &written, nullptr))
      return;
  }
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace os
