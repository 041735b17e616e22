// POSIX has no single command line: the arguments are the process's argv,
// taken before main so that the entry point needs none of its own.
#include "os/command_line.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <string>

namespace {

// glibc calls every initialiser of .init_array with argc, argv and envp, so
// argv is known here without main's help and without reading /proc.
int gArgumentCount = 0;
char** gArguments = nullptr;

void takeArguments(int argc, char** argv, char**) {
  gArgumentCount = argc;
  gArguments = argv;
}

__attribute__((section(".init_array"), used)) void (*const kTakeArguments)(int, char**, char**) =
    takeArguments;

}  // namespace

namespace os {

std::vector<std::string> platformArguments() {
  if (gArguments) return std::vector<std::string>(gArguments, gArguments + gArgumentCount);
  // A C library that passes its initialisers nothing: the kernel's record.
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
