// On POSIX the launcher removes its own executable and directory at exit,
// even while the executable is still running.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>

#include "cleanup/self_removal.h"
#include "launcher/app.h"
#include "os/command_line.h"
#include "temp_area_fixture.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

class PosixSelfRemoval : public TempAreaTest {
protected:
  // A copy of an executable in a directory of its own, as an embedded
  // launcher is extracted.
  std::string copiedExecutable(const std::string& source) {
    const std::string dir = root_.file("LRE1A2B.tmp");
    fs::create_directory(dir);
    const std::string copy = dir + "/launcher";
    fs::copy_file(source, copy);
    fs::permissions(copy, fs::perms::owner_all);
    return copy;
  }
};

}  // namespace

TEST_F(PosixSelfRemoval, ExecutableAndItsDirectoryAreGoneAfterTheCleanup) {
  const std::string copy = copiedExecutable(os::executablePath());
  settings().launcherFile = copy;
  settings().removeLauncherAtExit = true;
  cleanupAtExit(testTemp());
  EXPECT_FALSE(fs::exists(copy));
  EXPECT_FALSE(fs::exists(fs::path(copy).parent_path()));
  EXPECT_EQ(log(), "");  // silent
}

TEST_F(PosixSelfRemoval, RunningExecutableCanBeRemoved) {
  if (!fs::exists("/bin/sleep")) GTEST_SKIP() << "no /bin/sleep to run";
  const std::string copy = copiedExecutable("/bin/sleep");
  pid_t child = 0;
  char* arguments[] = {const_cast<char*>(copy.c_str()), const_cast<char*>("30"), nullptr};
  ASSERT_EQ(posix_spawn(&child, copy.c_str(), nullptr, nullptr, arguments, environ), 0);
  settings().launcherFile = copy;
  removeSelf(testTemp());
  const bool fileGone = !fs::exists(copy);
  const bool dirGone = !fs::exists(fs::path(copy).parent_path());
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(fileGone);
  EXPECT_TRUE(dirGone);
}
