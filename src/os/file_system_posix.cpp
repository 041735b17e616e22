// POSIX files and directories. Where POSIX has no counterpart of a Windows
// notion the closest honest one is used:
// - read-only is the missing owner write bit; deletion does not depend on it;
// - there are no share modes, so a probe cannot see that a file is held open:
//   it only reports what the open itself says (a directory fails, as on Windows);
// - unique names are taken by exclusive creation, mode 0600, like the
//   Windows form LRE<4 hex digits>.tmp; directories are made with mode 0700;
// - free space comes from statvfs: one "sector" per "cluster" of f_frsize
//   bytes, f_bavail free clusters (capped at 32 bits as the Windows query);
//   the volume asked about is the one holding the path or its nearest
//   existing parent, as POSIX has no drive letters.
#include "os/file_system.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>

#include "os/fault_injection.h"

namespace os {

namespace {

FileError fileErrorFrom(int code) {
  switch (code) {
    case 0:
      return FileError::kNone;
    case ENOENT:
    case ENOTDIR:
      return FileError::kNotFound;
    case EACCES:
    case EPERM:
      return FileError::kAccessDenied;
    case EBUSY:
    case ETXTBSY:
      return FileError::kInUse;
    case EEXIST:
      return FileError::kExists;
    default:
      return FileError::kOther;
  }
}

FileResult resultOf(int code) { return systemResult(static_cast<unsigned long>(code)); }

FileResult lastResult() { return resultOf(errno); }

FileResult succeeded() { return FileResult(); }

std::string withSeparator(const std::string& directory) {
  if (directory.empty() || directory.back() == '/') return directory;
  return directory + '/';
}

}  // namespace

SystemResult systemResult(unsigned long code) {
  return SystemResult{fileErrorFrom(static_cast<int>(code)), code};
}


std::string systemTempPath() {
  const char* variable = getenv("TMPDIR");
  return withSeparator(variable && *variable ? variable : "/tmp");
}

FileResult getFileAttributes(const std::string& path, FileAttributes* attributes) {
  struct stat status;
  if (lstat(path.c_str(), &status) != 0) return lastResult();
  attributes->directory = S_ISDIR(status.st_mode);
  attributes->readOnly = !S_ISLNK(status.st_mode) && (status.st_mode & S_IWUSR) == 0;
  attributes->link = S_ISLNK(status.st_mode);
  return succeeded();
}

bool isDirectory(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

FileResult clearReadOnly(const std::string& path) {
  struct stat status;
  if (lstat(path.c_str(), &status) != 0) return lastResult();
  if (chmod(path.c_str(), (status.st_mode & 07777) | S_IWUSR) != 0) return lastResult();
  return succeeded();
}

FileResult createUniqueTempFile(const std::string& directory, std::string* path) {
  if (const unsigned long fault = injectedFault(FaultPoint::kTempName))
    return resultOf(static_cast<int>(fault));
  // Like the Windows query, start at a value taken from the clock and try
  // every other 16-bit value once; 0 is never a name.
  static unsigned counter = static_cast<unsigned>(time(nullptr)) ^ static_cast<unsigned>(getpid());
  const std::string base = withSeparator(directory) + "LRE";
  for (unsigned tries = 0; tries < 0xFFFF; ++tries) {
    counter = (counter + 1) & 0xFFFF;
    if (counter == 0) counter = 1;
    char name[16];
    std::snprintf(name, sizeof name, "%04X.tmp", counter);
    const std::string candidate = base + name;
    const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      *path = candidate;
      return succeeded();
    }
    if (errno != EEXIST) return lastResult();
  }
  return resultOf(EEXIST);
}

FileResult deleteFile(const std::string& path) {
  if (const unsigned long fault = injectedFault(FaultPoint::kDeleteFile))
    return resultOf(static_cast<int>(fault));
  // Linux refuses a directory itself, with EISDIR.
  return unlink(path.c_str()) == 0 ? succeeded() : lastResult();
}

std::FILE* openForRewrite(const std::string& path) {
  const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (descriptor < 0) return nullptr;
  struct stat status;
  if (fstat(descriptor, &status) != 0 || (status.st_size > 0 && ftruncate(descriptor, 0) != 0)) {
    const int error = errno;
    close(descriptor);
    errno = error;
    return nullptr;
  }
  std::FILE* file = fdopen(descriptor, "w");
  if (!file) {
    const int error = errno;
    close(descriptor);
    errno = error;
  }
  return file;
}

FileResult getFileStamp(const std::string& path, FileStamp* stamp) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return lastResult();
  if (!S_ISREG(status.st_mode)) return resultOf(EISDIR);
  stamp->size = static_cast<int64_t>(status.st_size);
  stamp->modified = static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 +
                    static_cast<int64_t>(status.st_mtim.tv_nsec);
  return succeeded();
}

FileResult replaceFile(const std::string& from, const std::string& to) {
  return rename(from.c_str(), to.c_str()) == 0 ? succeeded() : lastResult();
}

std::string userCacheDirectory() {
  const char* cache = getenv("XDG_CACHE_HOME");
  if (cache && *cache == '/') return cache;
  const char* home = getenv("HOME");
  if (home && *home == '/') return std::string(home) + "/.cache";
  return std::string();
}

FileResult allowExecution(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return lastResult();
  return chmod(path.c_str(), status.st_mode | S_IXUSR) == 0 ? succeeded() : lastResult();
}

FileResult createDirectory(const std::string& path) {
  if (const unsigned long fault = injectedFault(FaultPoint::kCreateDirectory))
    return resultOf(static_cast<int>(fault));
  return mkdir(path.c_str(), 0700) == 0 ? succeeded() : lastResult();
}

FileResult removeDirectory(const std::string& path) {
  return rmdir(path.c_str()) == 0 ? succeeded() : lastResult();
}

FileResult probeOpenExclusive(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return lastResult();
  struct stat status;
  const bool directory = fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
  ::close(fd);
  return directory ? resultOf(EISDIR) : succeeded();
}

std::string freeSpaceRoot(const std::string& path) {
  std::string candidate = path;
  struct stat status;
  while (!candidate.empty() && stat(candidate.c_str(), &status) != 0) {
    const size_t slash = candidate.find_last_of('/');
    if (slash == std::string::npos) return ".";
    candidate.erase(slash == 0 ? 1 : slash);
    if (candidate == "/") break;
  }
  return candidate.empty() ? "." : candidate;
}

FileResult diskFreeSpace(const std::string& root, DiskSpace* space) {
  struct statvfs volume;
  if (statvfs(root.c_str(), &volume) != 0) return lastResult();
  const unsigned long unit = volume.f_frsize ? volume.f_frsize : volume.f_bsize;
  space->sectorsPerCluster = 1;
  space->bytesPerSector = static_cast<uint32_t>(unit);
  space->freeClusters = volume.f_bavail > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(volume.f_bavail);
  return succeeded();
}

struct DirectoryListing::Handle {
  DIR* stream = nullptr;
  std::string directory;
};

DirectoryListing::DirectoryListing() = default;
DirectoryListing::~DirectoryListing() { close(); }

FileResult DirectoryListing::first(const std::string& directory, DirectoryItem* item) {
  close();
  DIR* stream = opendir(directory.empty() ? "." : directory.c_str());
  if (!stream) return lastResult();
  handle_.reset(new Handle{stream, directory});
  const FileResult result = next(item);
  // An empty listing cannot be: "." is always there.
  if (result.error == FileError::kNoMoreFiles) return resultOf(ENOENT);
  return result;
}

FileResult DirectoryListing::next(DirectoryItem* item) {
  if (!handle_) return FileResult{FileError::kNoMoreFiles, 0};
  errno = 0;
  const dirent* entry = readdir(handle_->stream);
  if (!entry) {
    if (errno != 0) return lastResult();
    return FileResult{FileError::kNoMoreFiles, 0};
  }
  item->name = entry->d_name;
  // The entry's own type, never a link's target, so that a link to a
  // directory is not entered. Most file systems give it with the name; a
  // stat for every name made a disk scan three times slower than listing.
  if (entry->d_type != DT_UNKNOWN) {
    item->directory = entry->d_type == DT_DIR;
  } else {
    struct stat status;
    const std::string path = handle_->directory + entry->d_name;
    item->directory =
        lstat(path.empty() ? "." : path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
  }
  return succeeded();
}

void DirectoryListing::close() {
  if (handle_) closedir(handle_->stream);
  handle_.reset();
}

}  // namespace os
