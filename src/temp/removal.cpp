// Removal of the temporary area's files and directories at the end of a run.

#include "temp/temp.h"

#include <vector>

#include "base/directory_walker.h"
#include "base/log.h"
#include "base/messages.h"
#include "base/retry.h"
#include "base/settings.h"
#include "os/file_system.h"
#include "os/path.h"
#include "temp/cleanup_list.h"

namespace {

class TreeDeleter : public DirectoryWalker {
public:
  explicit TreeDeleter(TempArea& temp) : temp_(temp) {}
  bool visitFile(const std::string& path) override {
    temp_.deleteOne(path);
    return false;
  }

private:
  TempArea& temp_;
};

bool exists(const std::string& path) {
  os::FileAttributes attributes;
  return os::getFileAttributes(path, &attributes).ok();
}

// Whether path is directory or lies within it, letter case aside.
bool within(const std::string& path, const std::string& directory) {
  if (path.size() < directory.size() ||
      !samePathIgnoringCase(path.substr(0, directory.size()), directory))
    return false;
  // A sibling whose name merely begins like the directory's is not within it.
  if (path.size() == directory.size() || directory.empty()) return true;
  const char separator = os::pathSeparator();
  return directory.back() == separator || path[directory.size()] == separator;
}

// Deletes the entries of one list, newest first; an entry still there is
// tried again until the retries run out, then left for good.
void removeList(TempArea& temp, const RetryTiming& retry, std::vector<std::string>& list,
                const char* debugText) {
  while (!list.empty()) {
    const std::string path = list.back();
    RetryPacer pacer(retry);
    for (;;) {
      if (settings().debugLogEnabled) writeDebugLog(debugText + path, true);
      if (temp.deletePath(path) != 0) break;
      if (!pacer.waitAgain()) {
        writeLog("Giving up on removing " + path + " after repeated attempts.", kLogWarning);
        break;
      }
    }
    list.pop_back();
  }
}

}  // namespace

bool TempArea::deleteOne(const std::string& path) {
  os::FileAttributes attributes;
  const bool known = os::getFileAttributes(path, &attributes).ok();
  return deleteOne(path, known ? &attributes : nullptr);
}

bool TempArea::deleteOne(const std::string& path, const os::FileAttributes* attributes) {
  const bool known = attributes != nullptr;
  if (known && attributes->readOnly) os::clearReadOnly(path);
  os::FileResult result;
  const unsigned long refused = refusal_ ? refusal_(path) : 0;
  if (refused != 0)
    result = os::FileResult{os::FileError::kOther, refused};
  else if (known && attributes->directory)
    result = os::removeDirectory(path);
  else
    result = os::deleteFile(path);
  if (result.ok()) return true;
  writeLog("Could not delete " + path + " :  " + systemErrorText(result.code), kLogWarning);
  return false;
}

int32_t TempArea::deletePath(const std::string& path) {
  os::FileAttributes attributes;
  if (!os::getFileAttributes(path, &attributes).ok()) return -1;
  // A link (a registered directory replaced by a junction, say) goes itself;
  // walking it would delete the files of whatever it points to.
  if (!attributes.directory || attributes.link) return deleteOne(path, &attributes) ? 1 : 0;
  TreeDeleter walker(*this);
  walker.walk(path);
  // Children before parents; the parents of what stays must stay too.
  std::vector<std::string> kept;
  const std::vector<std::string>& directories = walker.visited();
  for (auto it = directories.rbegin(); it != directories.rend(); ++it) {
    bool holdsKept = false;
    for (const std::string& failed : kept) holdsKept = holdsKept || within(failed, *it);
    if (holdsKept) continue;
    if (!deleteOne(*it)) kept.push_back(*it);
  }
  return exists(path) ? 0 : 1;
}

void TempArea::removeAll() {
  try {
    removeList(*this, removalRetry_, list_.directories(), "Launcher: Deleting dir: ");
    removeList(*this, removalRetry_, list_.files(), "Launcher: Deleting file: ");
  } catch (...) {
    // Nothing can be reported any more; what is left stays.
  }
}
