// The disk scan's walker: every executable that a JVM file names, reported to the search.

#include "jvm/jvm_scan_walker.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "base/paths.h"
#include "base/text.h"
#include "jvm/executable_name.h"
#include "os/drives.h"
#include "os/path.h"
#include "temp/cleanup_list.h"

namespace {

const char kRecycleBin[] = "RECYCLE";

bool sameIgnoringCase(const std::string& text, size_t start, const std::string& expected) {
  if (text.size() < start + expected.size()) return false;
  return samePathIgnoringCase(text.substr(start, expected.size()), expected);
}

}  // namespace


bool isRecycleBin(const std::string& directory, const std::string& root) {
  if (directory.size() <= root.size() || !samePathIgnoringCase(directory.substr(0, root.size()), root))
    return false;
  // Windows NT 6 names its bin $Recycle.Bin; the older systems RECYCLER and Recycled.
  size_t start = root.size();
  if (directory[start] == '$') ++start;
  return sameIgnoringCase(directory, start, kRecycleBin);
}

JvmScanWalker::JvmScanWalker(std::vector<std::string> executableNames, Candidates onCandidate,
                             const std::string& tempRoot)
    : executableNames_(std::move(executableNames)),
      onCandidate_(std::move(onCandidate)),
      // Listings yield long names; a temp root given in a short or linked
      // form must still be recognised.
      tempRoot_(tempRoot.empty() ? std::string()
                                 : ensureTrailingSeparator(os::listedPathForm(tempRoot))),
      fences_(os::scanFences()) {}

bool JvmScanWalker::walk(const std::string& root) {
  root_ = ensureTrailingSeparator(root);
  return DirectoryWalker::walk(root);
}

bool JvmScanWalker::visitFile(const std::string& path) {
  for (const std::string& name : executableNames_)
    if (pathEndsWithExecutable(path, name) && onCandidate_(path)) return true;
  return false;
}

bool JvmScanWalker::skipDirectory(const std::string& directory) {
  // The launcher's own extracted files are never candidates.
  if (!tempRoot_.empty() && samePathIgnoringCase(directory, tempRoot_)) return true;
  if (isRecycleBin(directory, root_)) return true;
  return directory != root_ &&
         std::find(fences_.begin(), fences_.end(), directory) != fences_.end();
}
