#pragma once
// The walk of the disk scan: every file whose path ends in the executable
// of a JVM description file goes to the search; the launcher's temporary
// root, recycle bins and the system's fenced directories are not entered.

#include <functional>
#include <string>
#include <vector>

#include "base/directory_walker.h"

// Whether directory (with its trailing separator) is a recycle bin at the
// top of root: RECYCLER, Recycled, $Recycle.Bin and the like.
bool isRecycleBin(const std::string& directory, const std::string& root);

class JvmScanWalker : public DirectoryWalker {
public:
  // Hears of each executable found; true ends the walk.
  using Candidates = std::function<bool(const std::string& path)>;

  // tempRoot, the run's temporary root (none when empty), is never entered.
  JvmScanWalker(std::vector<std::string> executableNames, Candidates onCandidate,
                const std::string& tempRoot);

  bool walk(const std::string& root) override;
  bool visitFile(const std::string& path) override;
  bool skipDirectory(const std::string& directory) override;

private:
  std::vector<std::string> executableNames_;
  Candidates onCandidate_;
  std::string tempRoot_;
  std::vector<std::string> fences_;
  std::string root_;
};
