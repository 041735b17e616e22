// The directory walk. Only portable code.

#include "base/directory_walker.h"

#include "base/exceptions.h"
#include "base/messages.h"
#include "base/text.h"
#include "base/ui.h"
#include "os/file_system.h"

bool DirectoryWalker::skipDirectory(const std::string&) { return false; }

bool DirectoryWalker::walk(const std::string& root) {
  pending_.assign(1, root);
  visited_.clear();
  filesSeen_ = 0;
  bool stopped = false;
  while (!pending_.empty() && !stopped) {
    const std::string directory = pending_.back();
    pending_.pop_back();
    visited_.push_back(directory);
    const std::string prefix = ensureTrailingSeparator(directory);
    if (skipDirectory(prefix)) continue;
    stopped = listDirectory(prefix);
  }
  return stopped;
}

// Lists one directory: subdirectories wait on the stack, files are visited.
bool DirectoryWalker::listDirectory(const std::string& directory) {
  os::DirectoryListing listing;
  os::DirectoryItem item;
  // A directory that cannot be listed (gone, not allowed) is passed over.
  if (!listing.first(directory, &item).ok()) return false;
  bool stopped = false;
  for (;;) {
    if (item.name != "." && item.name != "..") {
      const std::string path = directory + item.name;
      if (item.directory) {
        pending_.push_back(path);
      } else {
        stopped = visitFile(path);
        if (++filesSeen_ % 100 == 0) ui::advanceProgress(1);
      }
    }
    if (stopped) return true;
    const os::FileResult result = listing.next(&item);
    if (result.error == os::FileError::kNoMoreFiles) return false;
    if (!result.ok()) throw LauncherException(systemErrorText(result.code));
  }
}
