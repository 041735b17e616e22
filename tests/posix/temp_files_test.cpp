// The POSIX stand-ins for the Windows file notions: name form and modes,
// TMPDIR, permission failures and links.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <regex>
#include <string>

#include "archive/extract.h"
#include "archive/index.h"
#include "base/exceptions.h"
#include "base/messages.h"
#include "temp/cleanup_list.h"
#include "temp/temp.h"
#include "temp_area_fixture.h"

namespace fs = std::filesystem;

namespace {

class PosixTempTest : public TempAreaTest {
protected:
  void TearDown() override {
    chmod(root_.path().c_str(), 0700);
    TempAreaTest::TearDown();
  }

  static unsigned modeOf(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0;
  }
};

}  // namespace

TEST_F(PosixTempTest, NamesFollowTheWindowsFormAndArePrivate) {
  const std::regex form("LRE[0-9A-F]{4}\\.tmp");
  const std::string dir = testTemp().createPrivateDir();
  const std::string file = testTemp().createTempFile();
  EXPECT_TRUE(std::regex_match(fs::path(dir).filename().string(), form)) << dir;
  EXPECT_TRUE(std::regex_match(fs::path(file).filename().string(), form)) << file;
  EXPECT_EQ(modeOf(dir), 0700u);
  EXPECT_EQ(modeOf(file), 0600u);
}

TEST_F(PosixTempTest, SystemTemporaryDirectoryComesFromTmpdir) {
  const char* saved = getenv("TMPDIR");
  const std::string savedValue = saved ? saved : "";
  setenv("TMPDIR", root_.path().c_str(), 1);
  TempArea fresh;  // without a root of its own
  EXPECT_EQ(fresh.root(), root_.path() + "/");
  if (saved) setenv("TMPDIR", savedValue.c_str(), 1); else unsetenv("TMPDIR");
}

TEST_F(PosixTempTest, LinkInATreeIsRemovedWithoutTouchingWhatItPointsTo) {
  ScopedTempDir outside;
  writeWholeFile(outside.file("precious.txt"), "keep me");
  const std::string dir = testTemp().createPrivateDir();
  fs::create_directory_symlink(outside.path(), dir + "/link");
  fs::create_symlink(outside.file("precious.txt"), dir + "/file-link");
  testTemp().removeAll();
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir)));
  EXPECT_EQ(readWholeFile(outside.file("precious.txt")), "keep me");
}

// A directory without write permission refuses the deletion of its files;
// like a read-only directory it is made writable, and the retry empties it.
TEST_F(PosixTempTest, NonWritableDirectoryIsEmptiedOnTheRetry) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  const std::string dir = testTemp().createPrivateDir();
  fs::create_directories(dir + "/locked");
  writeWholeFile(dir + "/locked/in.txt", "x");
  writeWholeFile(dir + "/free.txt", "x");
  chmod((dir + "/locked").c_str(), 0500);
  testTemp().setRemovalRetryTiming({std::chrono::milliseconds(1), std::chrono::milliseconds(2)});
  testTemp().removeAll();
  EXPECT_FALSE(fs::exists(dir));
  const std::string text = log();
  EXPECT_NE(text.find("WARNING: Could not delete " + dir + "/locked/in.txt :  " + std::strerror(EACCES)),
            std::string::npos);
  EXPECT_NE(text.find("WARNING: Could not delete " + dir + "/locked :  "), std::string::npos);
}

TEST_F(PosixTempTest, UnwritableRootIsRetriedAWhileThenReported) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  chmod(root_.path().c_str(), 0500);
  testTemp().setNameRetryTiming({std::chrono::milliseconds(1), std::chrono::milliseconds(3)});
  try {
    testTemp().createPrivateDir();
    FAIL() << "no failure reported";
  } catch (const LauncherException& e) {
    EXPECT_EQ(e.message(), std::string("Making a temporary file name failed  ==>  ") + std::strerror(EACCES) + "\n");
  }
  EXPECT_TRUE(testTemp().cleanupList().directories().empty());
}

// /dev/full takes the bytes into the buffer and refuses them when they are
// written out, as a full disk does.
TEST_F(PosixTempTest, FullDiskIsReportedWithItsErrorNumber) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  writeWholeFile(root_.file("launcher"), "0123456789");
  settings().launcherFile = root_.file("launcher");
  FileEntry entry;
  entry.fileName = "full";
  entry.length = 10;
  try {
    extractTo(entry, "/dev");
    FAIL() << "no failure reported";
  } catch (const LauncherException& e) {
    EXPECT_EQ(e.message(), loadMessageText(kTextErrorWritingFile) + "28" + loadMessageText(kTextNotEnoughSpace));
  }
}
