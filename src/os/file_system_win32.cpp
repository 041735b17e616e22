// Win32 files and directories through the ANSI calls.
#include "os/file_system.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "os/ansi_path_win32.h"
#include "os/fault_injection.h"

namespace os {

namespace {

FileError fileErrorFrom(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS:
      return FileError::kNone;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return FileError::kNotFound;
    case ERROR_ACCESS_DENIED:
      return FileError::kAccessDenied;
    case ERROR_SHARING_VIOLATION:
      return FileError::kInUse;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return FileError::kExists;
    case ERROR_NO_MORE_FILES:
      return FileError::kNoMoreFiles;
    default:
      return FileError::kOther;
  }
}

FileResult resultOf(DWORD code) { return systemResult(code); }

FileResult lastResult() {
  const DWORD code = GetLastError();
  // A call that failed without saying why must not read as success.
  return resultOf(code == ERROR_SUCCESS ? ERROR_GEN_FAILURE : code);
}

FileResult succeeded() { return FileResult(); }

void fill(const WIN32_FIND_DATAA& data, DirectoryItem* item) {
  item->name = data.cFileName;
  // A directory that is a reparse point (junction or link) is not entered.
  item->directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                    (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

}  // namespace

SystemResult systemResult(unsigned long code) {
  return SystemResult{fileErrorFrom(static_cast<DWORD>(code)), code};
}

std::string systemTempPath() {
  // The NT family's wide form, for a user name with letters outside the
  // ANSI code page.
  if (!windows95Family()) {
    const DWORD wideLength = GetTempPathW(0, nullptr);
    std::vector<wchar_t> wide(wideLength + 1, L'\0');
    const DWORD written = wideLength == 0 ? 0 : GetTempPathW(static_cast<DWORD>(wide.size()), wide.data());
    if (written > 0 && written < wide.size()) return ansiPathFromWide(wideText(wide.data(), written));
  }
  const DWORD length = GetTempPathA(0, nullptr);
  if (length == 0) return std::string();
  std::vector<char> buffer(length + 1, '\0');
  const DWORD written = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
  if (written == 0 || written >= buffer.size()) return std::string();
  return std::string(buffer.data(), written);
}

FileResult getFileAttributes(const std::string& path, FileAttributes* attributes) {
  const DWORD value = GetFileAttributesA(path.c_str());
  if (value == INVALID_FILE_ATTRIBUTES) return lastResult();
  attributes->directory = (value & FILE_ATTRIBUTE_DIRECTORY) != 0;
  attributes->readOnly = (value & FILE_ATTRIBUTE_READONLY) != 0;
  attributes->link = (value & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  return succeeded();
}

bool isDirectory(const std::string& path) {
  const DWORD value = GetFileAttributesA(path.c_str());
  return value != INVALID_FILE_ATTRIBUTES && (value & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FileResult clearReadOnly(const std::string& path) {
  const DWORD value = GetFileAttributesA(path.c_str());
  if (value == INVALID_FILE_ATTRIBUTES) return lastResult();
  DWORD cleared = value & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  if (cleared == 0) cleared = FILE_ATTRIBUTE_NORMAL;
  return SetFileAttributesA(path.c_str(), cleared) ? succeeded() : lastResult();
}

FileResult createUniqueTempFile(const std::string& directory, std::string* path) {
  if (const unsigned long fault = injectedFault(FaultPoint::kTempName))
    return resultOf(static_cast<DWORD>(fault));
  char buffer[MAX_PATH + 1] = {};
  if (GetTempFileNameA(directory.c_str(), "LRE", 0, buffer) == 0) return lastResult();
  *path = buffer;
  return succeeded();
}

FileResult deleteFile(const std::string& path) {
  if (const unsigned long fault = injectedFault(FaultPoint::kDeleteFile)) return resultOf(fault);
  return DeleteFileA(path.c_str()) ? succeeded() : lastResult();
}

FileResult allowExecution(const std::string&) { return succeeded(); }

std::FILE* openForRewrite(const std::string& path) { return std::fopen(path.c_str(), "w"); }

FileResult getFileStamp(const std::string& path, FileStamp* stamp) {
  // FindFirstFileA answers on every Windows (the attribute query with sizes
  // and times is missing on Windows 95); a name with wildcards is no file.
  if (path.find_first_of("*?") != std::string::npos) return resultOf(ERROR_INVALID_NAME);
  WIN32_FIND_DATAA data;
  const HANDLE found = FindFirstFileA(path.c_str(), &data);
  if (found == INVALID_HANDLE_VALUE) return lastResult();
  FindClose(found);
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return resultOf(ERROR_DIRECTORY);
  stamp->size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp->modified = (static_cast<int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
  return succeeded();
}

FileResult replaceFile(const std::string& from, const std::string& to) {
  // The Windows 95 family has MoveFileExA only as a stub that fails.
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return succeeded();
  if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return lastResult();
  DeleteFileA(to.c_str());
  return MoveFileA(from.c_str(), to.c_str()) ? succeeded() : lastResult();
}

std::string userCacheDirectory() {
  const DWORD length = GetEnvironmentVariableA("LOCALAPPDATA", nullptr, 0);
  if (length == 0) return std::string();
  std::vector<char> buffer(length + 1, '\0');
  const DWORD written =
      GetEnvironmentVariableA("LOCALAPPDATA", buffer.data(), static_cast<DWORD>(buffer.size()));
  if (written == 0 || written >= buffer.size()) return std::string();
  return std::string(buffer.data(), written);
}

FileResult createDirectory(const std::string& path) {
  if (const unsigned long fault = injectedFault(FaultPoint::kCreateDirectory))
    return resultOf(fault);
  return CreateDirectoryA(path.c_str(), nullptr) ? succeeded() : lastResult();
}

FileResult removeDirectory(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) ? succeeded() : lastResult();
}

FileResult probeOpenExclusive(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lastResult();
  CloseHandle(file);
  return succeeded();
}

std::string freeSpaceRoot(const std::string& path) {
  if (path.size() > 3 && path[1] == ':' && path[2] == '\\') return path.substr(0, 3);
  char current[MAX_PATH + 1] = {};
  const DWORD length = GetCurrentDirectoryA(sizeof current, current);
  if (length >= 2 && length < sizeof current && current[1] == ':')
    return std::string(1, current[0]) + ":\\";
  // A current directory on a network share has no drive letter; the query
  // then asks about the current directory's own root.
  return std::string();
}

FileResult diskFreeSpace(const std::string& root, DiskSpace* space) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceA(root.empty() ? nullptr : root.c_str(), &sectorsPerCluster,
                         &bytesPerSector, &freeClusters, &totalClusters))
    return lastResult();
  space->sectorsPerCluster = sectorsPerCluster;
  space->bytesPerSector = bytesPerSector;
  space->freeClusters = freeClusters;
  return succeeded();
}

struct DirectoryListing::Handle {
  HANDLE find = INVALID_HANDLE_VALUE;
};

DirectoryListing::DirectoryListing() = default;
DirectoryListing::~DirectoryListing() { close(); }

FileResult DirectoryListing::first(const std::string& directory, DirectoryItem* item) {
  close();
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((directory + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return lastResult();
  handle_.reset(new Handle{find});
  fill(data, item);
  return succeeded();
}

FileResult DirectoryListing::next(DirectoryItem* item) {
  if (!handle_) return resultOf(ERROR_NO_MORE_FILES);
  WIN32_FIND_DATAA data;
  if (!FindNextFileA(handle_->find, &data)) return lastResult();
  fill(data, item);
  return succeeded();
}

void DirectoryListing::close() {
  if (handle_) FindClose(handle_->find);
  handle_.reset();
}

}  // namespace os
