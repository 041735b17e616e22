// The check of a path against a JVM file's executable.

#include "jvm/executable_name.h"

#include "base/paths.h"
#include "os/path.h"
#include "temp/cleanup_list.h"

bool isHomeFollowedByExecutable(const std::string& path, const std::string& executable) {
  return path.size() > executable.size() && pathEndsWithExecutable(path, executable);
}

bool pathEndsWithExecutable(const std::string& path, const std::string& name) {
  if (name.empty() || path.size() < name.size()) return false;
  const size_t start = path.size() - name.size();
  const bool same = os::fileNamesIgnoreCase()
                        ? samePathIgnoringCase(path.substr(start), name)
                        : path.compare(start, name.size(), name) == 0;
  if (!same) return false;
  return start == 0 || isDirectorySeparator(path[start - 1]);
}
