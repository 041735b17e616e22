// The hidden batch file that removes a launcher copy after its exit.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "cleanup/self_removal.h"
#include "temp_area_fixture.h"

namespace fs = std::filesystem;

namespace {

class BatchSelfRemoval : public TempAreaTest {
protected:
  void TearDown() override {
    // The batch raised this process; the tests after it run as before.
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    TempAreaTest::TearDown();
  }

  static bool within30Seconds(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
  }
};

}  // namespace

TEST_F(BatchSelfRemoval, LauncherItsDirectoryAndTheBatchAreGone) {
  // A launcher's private copy below a temp root whose path the batch must
  // not expand.
  const std::string root = root_.file("temp 100%");
  fs::create_directory(root);
  testTemp().setRoot(root);
  const std::string dir = root + "\\LRE0A1.tmp";
  fs::create_directory(dir);
  const std::string launcher = dir + "\\launcher.exe";
  writeWholeFile(launcher, "MZ");
  settings().launcherFile = launcher;
  settings().debugLogEnabled = true;
  settings().debugLogFile = logs_.file("debug log.txt");
  removeSelf(testTemp());
  EXPECT_TRUE(within30Seconds([&] { return !fs::exists(launcher) && !fs::exists(dir); }));
  // The batch deletes itself; the empty file it was named after is gone too.
  EXPECT_TRUE(within30Seconds([&] { return fs::is_empty(root); }));
  const std::string debug = readTextFile(logs_.file("debug log.txt"));
  EXPECT_EQ(debug.rfind("Launcher: Cleanup batch file called: " + root + "\\LRE", 0), 0u) << debug;
  EXPECT_NE(debug.find("Deleting " + launcher + " from within batch file."), std::string::npos) << debug;
}
