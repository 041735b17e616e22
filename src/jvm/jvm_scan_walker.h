#pragma once
// The walk of the disk scan: every file whose path ends in the executable
// of a JVM description file goes to the search; the launcher's temporary
// root, recycle bins and the system's fenced directories are not entered.

#include <string>
#include <vector>

#include "base/directory_walker.h"

class JvmSearch;

// Whether path ends in name as whole components, letter case aside.
bool pathEndsWithExecutable(const std::string& path, const std::string& name);
// The same, with a home before the executable.
bool isHomeFollowedByExecutable(const std::string& path, const std::string& executable);

// Whether directory (with its trailing separator) is a recycle bin at the
// top of root: RECYCLER, Recycled, $Recycle.Bin and the like.
bool isRecycleBin(const std::string& directory, const std::string& root);

class JvmScanWalker : public DirectoryWalker {
public:
  // Throws LauncherException (text 36) when the temporary root is missing.
  // tempRoot, the run's temporary root (none when empty), is never entered.
  JvmScanWalker(std::vector<std::string> executableNames, JvmSearch& search,
                const std::string& tempRoot);

  bool walk(const std::string& root) override;
  bool visitFile(const std::string& path) override;
  bool skipDirectory(const std::string& directory) override;

private:
  std::vector<std::string> executableNames_;
  JvmSearch& search_;
  std::string tempRoot_;
  std::vector<std::string> fences_;
  std::string root_;
};
