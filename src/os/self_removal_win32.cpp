// Win32 self-removal: the hidden batch file and the wininit rename list.
#include "os/self_removal.h"

#include <windows.h>

#include <cstring>

namespace os {

namespace {

// Opens, maps and rewrites the file; 0 or the system's code.
unsigned long rewriteMappedCode(const std::string& path, size_t room,
                                const std::function<std::string(const std::string&)>& edit) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  const DWORD oldSize = GetFileSize(file, nullptr);
  DWORD newSize = oldSize;
  unsigned long result = 0;
  if (oldSize == INVALID_FILE_SIZE) {
    CloseHandle(file);
    return GetLastError();
  }
  const size_t mappedSize = oldSize + room + 10;
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0,
                                      static_cast<DWORD>(mappedSize), nullptr);
  char* view = mapping ? static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0)) : nullptr;
  if (!view) {
    result = GetLastError();
  } else {
    std::memset(view + oldSize, 0, mappedSize - oldSize);
    const std::string content = edit(std::string(view, oldSize));
    if (content.size() > mappedSize) {
      result = ERROR_INSUFFICIENT_BUFFER;
    } else {
      std::memcpy(view, content.data(), content.size());
      newSize = static_cast<DWORD>(content.size());
    }
    UnmapViewOfFile(view);
  }
  if (mapping) CloseHandle(mapping);
  // The mapping grew the file; its end goes back to what was written.
  SetFilePointer(file, static_cast<LONG>(newSize), nullptr, FILE_BEGIN);
  SetEndOfFile(file);
  CloseHandle(file);
  return result;
}

}  // namespace

bool runningExecutableDeletable() { return false; }

bool startHiddenBatch(const std::string& batchPath) {
  std::string commandLine = "\"" + batchPath + "\"";
  // 68 bytes in the 32-bit build; sizeof keeps the 64-bit build's record right.
  STARTUPINFOA startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process;
  std::memset(&process, 0, sizeof process);
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE,
                      CREATE_SUSPENDED | CREATE_NEW_CONSOLE | IDLE_PRIORITY_CLASS, nullptr, "\\",
                      &startup, &process))
    return false;
  // The batch may only get to run once this process has finished its exit.
  SetThreadPriority(process.hThread, THREAD_PRIORITY_IDLE);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
  CloseHandle(process.hProcess);
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  return true;
}

std::string shortPathName(const std::string& path) {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return path;
  return std::string(buffer, length);
}

SystemResult windowsDirectory(std::string* directory) {
  char buffer[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return systemResult(length == 0 ? GetLastError() : ERROR_INSUFFICIENT_BUFFER);
  directory->assign(buffer, length);
  return SystemResult();
}

SystemResult rewriteFileMapped(const std::string& path, size_t room,
                               const std::function<std::string(const std::string&)>& edit) {
  return systemResult(rewriteMappedCode(path, room, edit));
}

}  // namespace os
