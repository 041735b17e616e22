// Path helpers: separators at the end, the directory and last part of a path.

#include "base/paths.h"

#include "os/path.h"

bool isDirectorySeparator(char c) { return c == '\\' || c == os::pathSeparator(); }

std::string withoutTrailingSeparator(const std::string& path) {
  if (!path.empty() && isDirectorySeparator(path.back())) return path.substr(0, path.size() - 1);
  return path;
}

std::string directoryPart(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string lastPathComponent(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string sideFilePath(const std::string& launcherPath, const std::string& extension) {
  // A dot in a directory name is not an extension; with no separator at
  // all the whole path is the file name.
  const size_t slash = launcherPath.find_last_of("/\\");
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = launcherPath.rfind('.');
  if (dot != std::string::npos && dot >= nameStart) return launcherPath.substr(0, dot) + extension;
  return launcherPath + extension;
}
