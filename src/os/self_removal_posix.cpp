// POSIX self-removal. A running executable's name can be unlinked while it
// runs (the kernel keeps the file until the process ends), so the launcher
// removes its file and directory itself at exit and needs neither a batch
// file nor a start-up rename list; those calls report that they have nothing
// to work with. The mapped rewrite is kept, with mmap, for the rename list's
// file format.
#include "os/self_removal.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace os {

namespace {

// Opens, maps and rewrites the file; 0 or the system's code.
unsigned long rewriteMappedCode(const std::string& path, size_t room,
                                const std::function<std::string(const std::string&)>& edit) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return static_cast<unsigned long>(errno);
  // Advisory only: the closest POSIX has to opening without sharing.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    return static_cast<unsigned long>(error);
  }
  struct stat status;
  if (fstat(fd, &status) != 0) {
    const int error = errno;
    ::close(fd);
    return static_cast<unsigned long>(error);
  }
  const size_t oldSize = static_cast<size_t>(status.st_size);
  const size_t mappedSize = oldSize + room + 10;
  size_t newSize = oldSize;
  unsigned long result = 0;
  void* view = MAP_FAILED;
  if (ftruncate(fd, static_cast<off_t>(mappedSize)) == 0)
    view = mmap(nullptr, mappedSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (view == MAP_FAILED) {
    result = static_cast<unsigned long>(errno);
  } else {
    char* bytes = static_cast<char*>(view);
    std::memset(bytes + oldSize, 0, mappedSize - oldSize);
    const std::string content = edit(std::string(bytes, oldSize));
    if (content.size() > mappedSize) {
      result = ENOSPC;
    } else {
      std::memcpy(bytes, content.data(), content.size());
      newSize = content.size();
    }
    munmap(view, mappedSize);
  }
  if (ftruncate(fd, static_cast<off_t>(newSize)) != 0 && result == 0)
    result = static_cast<unsigned long>(errno);
  ::close(fd);
  return result;
}

}  // namespace

bool runningExecutableDeletable() { return true; }

bool startHiddenBatch(const std::string&) { return false; }

std::string shortPathName(const std::string& path) { return path; }

SystemResult windowsDirectory(std::string*) { return systemResult(ENOSYS); }

SystemResult rewriteFileMapped(const std::string& path, size_t room,
                               const std::function<std::string(const std::string&)>& edit) {
  return systemResult(rewriteMappedCode(path, room, edit));
}

}  // namespace os
