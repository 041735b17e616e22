// POSIX has no single command line: the arguments are the argv the kernel
// recorded for the process, read from /proc/self/cmdline so that the entry
// point needs none of its own arguments.
#include "os/command_line.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <string>

namespace os {

std::vector<std::string> platformArguments() {
  std::string all;
  const int fd = open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    char buffer[4096];
    ssize_t count;
    while ((count = read(fd, buffer, sizeof buffer)) > 0) all.append(buffer, static_cast<size_t>(count));
    close(fd);
  }
  std::vector<std::string> arguments;
  size_t start = 0;
  while (start < all.size()) {
    size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    arguments.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return arguments;
}

// The arguments joined by blanks, each quoted when it holds a blank; used
// only where a single text is wanted.
std::string ansiCommandLine() {
  std::string line;
  for (const std::string& argument : platformArguments()) {
    if (!line.empty()) line += ' ';
    if (argument.find_first_of(" \t") == std::string::npos && !argument.empty())
      line += argument;
    else
      line += '"' + argument + '"';
  }
  return line;
}

std::string executablePath() {
  std::string path(PATH_MAX, '\0');
  ssize_t length = readlink("/proc/self/exe", &path[0], path.size());
  if (length <= 0) return std::string();
  path.resize(static_cast<size_t>(length));
  return path;
}

}  // namespace os
