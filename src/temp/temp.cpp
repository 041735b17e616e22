// The temporary root and the private directories and files below it. Only
// portable code.

#include "temp/temp.h"

#include "temp/temp_testing.h"
#include "temp/cleanup_list.h"
#include "base/exceptions.h"
#include "base/log.h"
#include "base/messages.h"
#include "os/file_system.h"
#include "os/path.h"

namespace {

const RetryTiming kNameRetry{std::chrono::milliseconds(200), std::chrono::seconds(10)};
// How often a private directory's name may be lost to another process.
constexpr int kNameTakenAttempts = 100;

struct TempState {
  std::string root;
  RetryTiming nameRetry = kNameRetry;
};

TempState& state() {
  static TempState instance;
  return instance;
}

// Asks for a unique name, retrying while the system refuses access for a
// while (another process may be holding the name it picked).
os::FileResult requestTempName(const std::string& root, std::string* path) {
  RetryPacer pacer(state().nameRetry);
  for (;;) {
    const os::FileResult result = os::createUniqueTempFile(root, path);
    if (result.error != os::FileError::kAccessDenied || !pacer.waitAgain()) return result;
  }
}

}  // namespace

void resetTempState() { state() = TempState(); }
void setTempNameRetryTiming(const RetryTiming& timing) { state().nameRetry = timing; }

// Temporary paths are handed to programs that run in other directories (a
// launch with AUTO_SET_WORKING_DIR, the self-removal batch), so a relative
// root is fixed against the current directory when it is given.
void setTempRoot(const std::string& path) { state().root = os::absolutePath(path); }

std::string getTempRoot() {
  std::string& root = state().root;
  if (root.empty()) root = os::systemTempPath();
  if (!os::isDirectory(root))
    throw LauncherException(formatMessage(kTextTempDirMissing, {root}));
  return root;
}

std::string createPrivateDir() {
  const std::string root = getTempRoot();
  // Between deleting the reserved file and making the directory, another
  // launcher on the same root may be handed the freed name and take it; then
  // this one asks for another name. A directory that was never made must not
  // be handed out as if it had been.
  os::FileResult made;
  for (int attempt = 0; attempt < kNameTakenAttempts; ++attempt) {
    std::string path;
    const os::FileResult named = requestTempName(root, &path);
    if (!named.ok()) throw LauncherException(systemCallFailure(kCallTempFileName, named.code));
    // A reserved name that cannot be let go is still this launcher's file.
    if (!os::deleteFile(path).ok()) cleanupList().addTempFile(path);
    made = os::createDirectory(path);
    if (made.ok()) {
      cleanupList().addTempDir(path);
      return path;
    }
    if (made.error != os::FileError::kExists) break;
  }
  throw LauncherException(systemCallFailure(kCallCreateDirectory, made.code));
}

std::string createTempFile() {
  const std::string root = getTempRoot();
  std::string path;
  const os::FileResult named = requestTempName(root, &path);
  if (!named.ok()) {
    writeLog(systemCallFailure(kCallTempFileName, named.code), kLogWarning);
    return std::string();
  }
  cleanupList().addTempFile(path);
  return path;
}

void forgetTempFile(const std::string& path) { cleanupList().forgetTempFile(path); }
void forgetTempDir(const std::string& path) { cleanupList().forgetTempDir(path); }

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
