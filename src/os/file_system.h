#pragma once
// Files and directories as the temporary area, extraction and cleanup need
// them. Failures come back as a FileResult: a portable kind for the callers
// that decide on it, and the system's code for systemErrorText.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "os/system_result.h"

namespace os {

// The kinds of failure that callers tell apart; everything else is kOther.
using FileError = SystemError;
using FileResult = SystemResult;

// What the attributes of a path say; readOnly is Windows' attribute and the
// missing owner write permission on POSIX.
// link is a symbolic link, or on Windows any reparse point (a junction):
// removing one must never reach what it points to.
struct FileAttributes {
  bool directory = false;
  bool readOnly = false;
  bool link = false;
};

// The system's temporary directory with a trailing separator; empty on failure.
std::string systemTempPath();

// Attributes of the path itself (a link is not followed); fails when they cannot be read.
FileResult getFileAttributes(const std::string& path, FileAttributes* attributes);

// Whether path names a directory, following links to it.
bool isDirectory(const std::string& path);

// Clears the read-only attribute and keeps the others.
FileResult clearReadOnly(const std::string& path);

// Creates a new empty file "LRE" + hex digits + ".tmp" in directory, private to the user, and gives its path.
FileResult createUniqueTempFile(const std::string& directory, std::string* path);

// Opens path to be written anew, as fopen's "w" does (text mode). On POSIX
// an empty file, such as a new temporary one, is not truncated first: ext4
// writes a file truncated on opening out to disk as soon as it is closed,
// which for a temporary file removed a moment later is work for nothing.
std::FILE* openForRewrite(const std::string& path);

// Deletes one file (or link); never a directory.
FileResult deleteFile(const std::string& path);

// Lets the owner run the file as a program: POSIX adds the owner's execute
// bit (extracted installers and launchers arrive without it); Windows runs
// any file named like a program, so there is nothing to do.
FileResult allowExecution(const std::string& path);

// Creates one directory, private to the user; its parent must exist.
FileResult createDirectory(const std::string& path);

// Removes one empty directory.
FileResult removeDirectory(const std::string& path);

// Opens an existing file for reading with no sharing and closes it again:
// ok, kNotFound, kInUse (held open by someone else) or another error.
FileResult probeOpenExclusive(const std::string& path);

// What tells one version of a file from another without reading it.
struct FileStamp {
  int64_t size = 0;
  int64_t modified = 0;  // in the system's own units (ns on POSIX, 100 ns on Windows)
};

// The stamp of a regular file; fails when there is none (missing, a directory).
FileResult getFileStamp(const std::string& path, FileStamp* stamp);

// Puts the file from in place of to in one step where the system can
// (POSIX rename, Windows MoveFileEx); the Windows 95 family deletes to first.
FileResult replaceFile(const std::string& from, const std::string& to);

// The directory the user's programs keep caches in: POSIX $XDG_CACHE_HOME or
// ~/.cache, Windows %LOCALAPPDATA%; empty where there is none.
std::string userCacheDirectory();

// Free space of a volume, in the units of the Windows drive query.
struct DiskSpace {
  uint32_t sectorsPerCluster = 0;
  uint32_t bytesPerSector = 0;
  uint32_t freeClusters = 0;
};

// The path whose volume the free-space query for path must ask about.
std::string freeSpaceRoot(const std::string& path);

// Free space of the volume that holds root.
FileResult diskFreeSpace(const std::string& root, DiskSpace* space);

// One name of a directory listing; directory is true only for a directory
// that a walk may enter (not for a link to one, which could lead out of the
// tree or round in a circle).
struct DirectoryItem {
  std::string name;
  bool directory = false;
};

// Lists one directory, "." and ".." included; closed when it ends.
class DirectoryListing {
public:
  DirectoryListing();
  ~DirectoryListing();
  DirectoryListing(const DirectoryListing&) = delete;
  DirectoryListing& operator=(const DirectoryListing&) = delete;

  // Starts listing directory (with its trailing separator; empty: the
  // current directory) and gives the first name; fails when it cannot be listed.
  FileResult first(const std::string& directory, DirectoryItem* item);
  // The next name; kNoMoreFiles at the end.
  FileResult next(DirectoryItem* item);
  void close();

  struct Handle;

private:
  std::unique_ptr<Handle> handle_;
};

}  // namespace os
