// Paths on POSIX: separators, the executable's own path, the temporary directory.

#include "os/path.h"

#include <stdlib.h>
#include <unistd.h>

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
  char* resolved = realpath(path.c_str(), nullptr);
  if (!resolved) return path;
  std::string result(resolved);
  free(resolved);
  return result;
}

}  // namespace os
