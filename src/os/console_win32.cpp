// Windows: a console is a character device; files, pipes and NUL are not
// (NUL is a character device too, but has no console mode).
#include "os/console.h"

#include <windows.h>

namespace os {

bool standardErrorIsTerminal() {
  const HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return false;
  if (GetFileType(handle) != FILE_TYPE_CHAR) return false;
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0;
}

}  // namespace os
