// Files held open by another handle with no sharing, as a child process
// holds the files it was started with.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "archive/free_space.h"
#include "base/exceptions.h"
#include "os/file_system.h"
#include "temp/temp.h"
#include "temp_area_fixture.h"

namespace fs = std::filesystem;

namespace {

HANDLE holdUnshared(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

class HeldFile : public TempAreaTest {};

}  // namespace

TEST_F(HeldFile, ExistsButCannotBeDeletedUntilReleased) {
  const std::string dir = testTemp().createPrivateDir();
  const std::string held = dir + "\\held.jar";
  writeWholeFile(held, "x");
  HANDLE handle = holdUnshared(held);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(fileExists(held));
  EXPECT_FALSE(testTemp().deleteOne(held));
  EXPECT_EQ(testTemp().deletePath(dir), 0);
  EXPECT_TRUE(fs::exists(held));
  EXPECT_EQ(countOf(log(), "WARNING: Could not delete "), 3);
  CloseHandle(handle);
  EXPECT_EQ(testTemp().deletePath(dir), 1);
}

TEST_F(HeldFile, CleanupWaitsForTheHolderToLetGo) {
  const std::string dir = testTemp().createPrivateDir();
  const std::string held = dir + "\\sub\\held.jar";
  fs::create_directories(dir + "\\sub");
  writeWholeFile(held, "x");
  HANDLE handle = holdUnshared(held);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  std::thread holder([handle] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CloseHandle(handle);
  });
  testTemp().removeAll();
  holder.join();
  EXPECT_FALSE(fs::exists(dir));
  const std::string text = log();
  EXPECT_GE(countOf(text, "WARNING: Could not delete " + held + " :  "), 1);
  EXPECT_EQ(countOf(text, "Giving up"), 0);
}

TEST(FreeSpaceRoot, DriveFromTheFullPathElseTheCurrentDrive) {
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, current);
  const std::string currentRoot = std::string(1, current[0]) + ":\\";
  EXPECT_EQ(os::freeSpaceRoot("Q:\\some\\dir"), "Q:\\");
  EXPECT_EQ(os::freeSpaceRoot("Q:\\"), currentRoot);  // exactly three characters
  EXPECT_EQ(os::freeSpaceRoot("relative\\dir"), currentRoot);
  EXPECT_EQ(os::freeSpaceRoot(""), currentRoot);
  EXPECT_EQ(os::freeSpaceRoot("\\\\server\\share\\dir"), currentRoot);
}

TEST(FreeSpaceRoot, DriveThatIsNotThereFailsTheEstimate) {
  const DWORD drives = GetLogicalDrives();
  char letter = 0;
  for (char c = 'Q'; c <= 'Y' && !letter; ++c)
    if (!(drives & (1u << (c - 'A')))) letter = c;
  ASSERT_NE(letter, 0);
  try {
    hasFreeSpace(std::string(1, letter) + ":\\dir", 1, 1);
    FAIL() << "no failure reported";
  } catch (const LauncherException& e) {
    EXPECT_EQ(e.message().rfind("GetDiskFreeSpace failed  ==>  ", 0), 0u) << e.message();
  }
}
