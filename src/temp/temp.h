#pragma once
// The run's temporary area: the temporary root, the private directories and
// files made below it, each recorded for removal at exit, and their removal.
// The front end owns one per run and hands it down.

#include <cstdint>
#include <functional>
#include <string>

#include "base/retry.h"
#include "temp/cleanup_list.h"

namespace os {
struct FileAttributes;
}

class TempArea {
public:
  TempArea();

  // Sets the temporary root (the -qm:tempdir option); a relative root is
  // fixed against the current directory, as temporary paths are handed to
  // programs that run in other directories.
  void setRoot(const std::string& path);
  // The temporary root, the system's temporary path when none was set.
  // Throws LauncherException (text 36) when it is not an existing directory.
  std::string root();

  // A new directory below the root, recorded for removal; no trailing
  // separator. Throws LauncherException: text 36, "GetTempFileName failed
  // ==>  ..." or "CreateDirectory failed  ==>  ...".
  std::string createPrivateDir();
  // A new empty file below the root, recorded for removal; empty (and
  // logged) when the system makes none. Throws LauncherException (text 36).
  std::string createTempFile();

  // Take the first recorded file or directory equal to path, letter case
  // aside, off the removal list; nothing when none is.
  void forgetFile(const std::string& path) { list_.forgetTempFile(path); }
  void forgetDir(const std::string& path) { list_.forgetTempDir(path); }
  CleanupList& cleanupList() { return list_; }

  // Removes the recorded directories, then the recorded files, newest first,
  // retrying what is still held open for a while. Never throws.
  void removeAll();
  // Deletes a file, or a directory with everything in it that can go.
  // -1 when the path is not there, 1 when it is gone, 0 when it is not.
  // Throws LauncherException when a directory listing breaks off.
  int32_t deletePath(const std::string& path);
  // Deletes one file or one empty directory, read-only or not; a failure is
  // logged as a warning and answers false.
  bool deleteOne(const std::string& path);
  // The same for a path whose attributes were just read (null: unknown).
  bool deleteOne(const std::string& path, const os::FileAttributes* attributes);

  // For tests, which cannot wait seconds for names or files that do not come
  // free: how a refused temporary name is retried (normally every 200 ms for
  // about 10 s) and how a path still there at removal is (every 50 ms for
  // about 10 s).
  void setNameRetryTiming(const RetryTiming& timing) { nameRetry_ = timing; }
  void setRemovalRetryTiming(const RetryTiming& timing) { removalRetry_ = timing; }
  // Makes deleteOne fail, as if the system had refused with the code that
  // refuse gives, for every path for which that code is not 0. A file that
  // the system keeps however it is asked cannot be made on every test system
  // (a test run as root may delete anything). An empty function ends this.
  void setDeletionRefusal(std::function<unsigned long(const std::string&)> refuse) {
    refusal_ = std::move(refuse);
  }

private:
  std::string root_;
  RetryTiming nameRetry_;
  RetryTiming removalRetry_;
  std::function<unsigned long(const std::string&)> refusal_;
  CleanupList list_;
};

// Whether a file is there: it opens, or it is held open by someone else.
// Other failures are logged and answer false.
bool fileExists(const std::string& path);
