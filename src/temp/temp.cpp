// The temporary root and the private directories and files below it. Only
// portable code.

#include "temp/temp.h"

#include "base/exceptions.h"
#include "base/log.h"
#include "base/messages.h"
#include "os/file_system.h"
#include "os/path.h"
#include "temp/cleanup_list.h"

namespace {

const RetryTiming kNameRetry{std::chrono::milliseconds(200), std::chrono::seconds(10)};
const RetryTiming kRemovalRetry{std::chrono::milliseconds(50), std::chrono::seconds(10)};
// How often a private directory's name may be lost to another process.
constexpr int kNameTakenAttempts = 100;

// Asks for a unique name, retrying while the system refuses access for a
// while (another process may be holding the name it picked).
os::FileResult requestTempName(const std::string& root, const RetryTiming& timing,
                               std::string* path) {
  RetryPacer pacer(timing);
  for (;;) {
    const os::FileResult result = os::createUniqueTempFile(root, path);
    if (result.error != os::FileError::kAccessDenied || !pacer.waitAgain()) return result;
  }
}

}  // namespace

TempArea::TempArea() : nameRetry_(kNameRetry), removalRetry_(kRemovalRetry) {}

void TempArea::setRoot(const std::string& path) { root_ = os::absolutePath(path); }

std::string TempArea::root() {
  if (root_.empty()) root_ = os::systemTempPath();
  if (!os::isDirectory(root_))
    throw LauncherException(formatMessage(kTextTempDirMissing, {root_}));
  return root_;
}

std::string TempArea::createPrivateDir() {
  const std::string root = this->root();
  // Between deleting the reserved file and making the directory, another
  // launcher on the same root may be handed the freed name and take it; then
  // this one asks for another name. A directory that was never made must not
  // be handed out as if it had been.
  os::FileResult made;
  for (int attempt = 0; attempt < kNameTakenAttempts; ++attempt) {
    std::string path;
    const os::FileResult named = requestTempName(root, nameRetry_, &path);
    if (!named.ok()) throw LauncherException(systemCallFailure(kCallTempFileName, named.code));
    // A reserved name that cannot be let go is still this launcher's file.
    if (!os::deleteFile(path).ok()) list_.addTempFile(path);
    made = os::createDirectory(path);
    if (made.ok()) {
      list_.addTempDir(path);
      return path;
    }
    if (made.error != os::FileError::kExists) break;
  }
  throw LauncherException(systemCallFailure(kCallCreateDirectory, made.code));
}

std::string TempArea::createTempFile() {
  const std::string root = this->root();
  std::string path;
  const os::FileResult named = requestTempName(root, nameRetry_, &path);
  if (!named.ok()) {
    writeLog(systemCallFailure(kCallTempFileName, named.code), kLogWarning);
    return std::string();
  }
  list_.addTempFile(path);
  return path;
}

bool fileExists(const std::string& path) {
  const os::FileResult probe = os::probeOpenExclusive(path);
  switch (probe.error) {
    case os::FileError::kNone:
    case os::FileError::kInUse:
      return true;
    case os::FileError::kNotFound:
      return false;
    default:
      writeLog(systemErrorText(probe.code), kLogPlain);
      return false;
  }
}
