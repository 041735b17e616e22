// Paths on POSIX: separators, the executable's own path, the temporary directory.

#include "os/path.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

#include <vector>

namespace os {

char pathSeparator() { return '/'; }

// Only the current directory is put in front: unlike realpath, the path
// need not exist and links in it are kept.
std::string absolutePath(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  std::vector<char> buffer(4096);
  while (!getcwd(buffer.data(), buffer.size())) {
    if (buffer.size() >= (1u << 20)) return path;
    buffer.resize(buffer.size() * 2);
  }
  std::string directory(buffer.data());
  if (directory.back() != '/') directory += '/';
  return directory + path;
}

bool fileNamesIgnoreCase() { return false; }

std::string listedPathForm(const std::string& path) {
  // The kernel names what an open descriptor refers to in three calls;
  // realpath asks readlink of every component on the way (a dozen for
  // /usr/bin/java through /etc/alternatives).
  const int fd = open(path.c_str(), O_PATH | O_CLOEXEC);
  if (fd >= 0) {
    char link[32];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[PATH_MAX];
    const ssize_t length = readlink(link, target, sizeof target);
    ::close(fd);
    if (length > 0 && length < static_cast<ssize_t>(sizeof target) && target[0] == '/')
      return std::string(target, static_cast<size_t>(length));
  }
  char* resolved = realpath(path.c_str(), nullptr);
  if (!resolved) return path;
  std::string result(resolved);
  free(resolved);
  return result;
}

std::string childReadablePath(const std::string& path) { return path; }

}  // namespace os
