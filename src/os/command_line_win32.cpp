// The Windows command line: the NT family's own splitting of the wide line,
// the ANSI line for the 95 family's tokenizer.
#include "os/command_line.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "os/ansi_path_win32.h"
#include "os/windows_argv.h"

namespace os {

std::string ansiCommandLine() { return GetCommandLineA(); }

std::vector<std::string> platformArguments() {
  // Looked up when needed: the 95 family's shell has no working
  // CommandLineToArgvW, and an import of it would tie the program's loading
  // to a DLL that only this path needs. Where it is missing, the ANSI line is
  // split by the same rules.
  typedef LPWSTR*(WINAPI * SplitWide)(LPCWSTR, int*);
  HMODULE shell = LoadLibraryA("shell32.dll");
  const SplitWide split =
      shell ? reinterpret_cast<SplitWide>(
                  reinterpret_cast<void*>(GetProcAddress(shell, "CommandLineToArgvW")))
            : nullptr;
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* list = split ? split(GetCommandLineW(), &count) : nullptr;
  if (!list) return splitWindowsCommandLine(GetCommandLineA());
  for (int i = 0; i < count; ++i) arguments.push_back(ansiText(list[i], wcslen(list[i])));
  LocalFree(list);
  return arguments;
}

std::string executablePath() {
  if (!windows95Family()) {
    std::vector<wchar_t> wide(MAX_PATH);
    for (;;) {
      const DWORD length = GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
      if (length == 0) break;
      if (length < wide.size()) return ansiPathFromWide(wideText(wide.data(), length));
      wide.resize(wide.size() * 2);
    }
  }
  // Grows past MAX_PATH for executables in long paths.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace os
