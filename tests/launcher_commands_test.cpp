#include "script/launcher_commands.h"

#include <gtest/gtest.h>

#include <vector>

#include "archive/index.h"
#include "archive/index_writer.h"
#include "launcher/exceptions.h"
#include "launcher/settings.h"
#include "script/variables.h"
#include "script/variables_testing.h"
#include "temp_area_fixture.h"
#include "test_support.h"

namespace {

struct Stored {
  FileType type;
  int32_t id;
  std::string name;
  std::string data;
};

// Writes a launcher file holding the given entries and loads its index.
void loadLauncher(const std::string& path, const std::vector<Stored>& stored) {
  const std::string stub = "MZ stub";
  std::string bytes = stub;
  std::vector<FileEntry> entries;
  std::vector<int64_t> sizes;
  for (const Stored& item : stored) {
    FileEntry entry;
    entry.type = item.type;
    entry.id = item.id;
    entry.fileName = item.name;
    entries.push_back(std::move(entry));
    sizes.push_back(static_cast<int64_t>(item.data.size()));
    bytes += item.data;
  }
  bytes += layOutArchive(static_cast<int64_t>(stub.size()), std::move(entries), sizes, 1).tail;
  writeWholeFile(path, bytes);
  settings().launcherFile = path;
  settings().originalLauncherFile = path;
  launcherArchive().loadIndex(true);
}

std::string failureOf(void (*body)(LauncherCommands&), LauncherCommands& commands) {
  try {
    body(commands);
  } catch (const LauncherException& e) {
    return e.message();
  }
  return "no failure";
}

}  // namespace

class Commands : public TempAreaTest {
protected:
  void SetUp() override {
    TempAreaTest::SetUp();
    resetScriptVariables();
    settings().logFile = dir_.file("run.log");
    loadLauncher(dir_.file("launcher.exe"),
                 {{LAUNCHSCRIPT, 2, "launch.txt", "COMMAND: x\n"},
                  {JVM, 3, "a.jvm", "DESC: A\nJVM_EXE: bin/java\n"},
                  {APPLICATION_ARCHIVE, 4, "app.jar", "jar"}});
  }
  std::string log() const { return readTextFile(dir_.file("run.log")); }

  ScopedTempDir dir_;
  LauncherCommands commands_;
};

TEST_F(Commands, VerifyNamesWhatIsWrongWithTheId) {
  EXPECT_EQ(failureOf([](LauncherCommands& c) { c.doVerify(false, false, 9); }, commands_),
            "Cannot verify jvm file at index 9 because it does not exist.");
  EXPECT_EQ(failureOf([](LauncherCommands& c) { c.doVerify(false, false, 2); }, commands_),
            "To verify a JVM, use an index of a jvm file. The index passed in was 2 which "
            "corresponds to the file named launch.txt");
}

TEST_F(Commands, FindWithoutAMatchClearsTheResultsAndShowsTextOnlyWhenAsked) {
  setNumber(1, 1);
  setString(1, "old home");
  setString(2, "old file");
  commands_.doFindJvm(false, false);
  EXPECT_EQ(getNumber(1), 0);
  EXPECT_EQ(getString(1), "");
  EXPECT_EQ(getString(2), "");
  const std::string text =
      "A suitable JVM could not be found. Please run the program again using the option "
      "-qm:javahome <JAVA HOME DIR>";
  EXPECT_NE(log().find("\nFinding a JVM\n"), std::string::npos);
  EXPECT_NE(log().find("\n" + text + "\n"), std::string::npos);
  EXPECT_EQ(app_.calls.front(), "hideProgress");
  for (const std::string& call : app_.calls) EXPECT_EQ(call.find("message:"), std::string::npos);
  commands_.doFindJvm(true, true);
  EXPECT_EQ(app_.calls.back(), "message:" + text);
}

TEST_F(Commands, LaunchesWithoutWhatTheyNeedFailWithMinusOne) {
  EXPECT_EQ(commands_.doLaunchInternal(4, 0), -1);  // the entry is not a JVM file
  EXPECT_NE(log().find("ERROR: Unable to launch the internal launch script with the internal JVM "
                       "file. Either the launch script or the JVM file is missing from the "
                       "launcher.\n"),
            std::string::npos);
}

TEST_F(Commands, InstallWithoutAnInstallerEntryFails) {
  setNumber(1, 1);
  EXPECT_EQ(failureOf([](LauncherCommands& c) { c.doInstallJvm(0); }, commands_),
            "No JVM installer was included in the launcher.");
  EXPECT_EQ(getNumber(1), 0);
}

TEST_F(Commands, ExecuteLauncherWithAWrongEntryOnlyLogs) {
  commands_.doExecuteLauncher(1);  // a JVM file, not a launcher
  commands_.doExecuteLauncher(7);  // no entry at that position
  const std::string line = "ERROR: Unable to execute the embedded launcher.\n";
  const std::string text = log();
  ASSERT_NE(text.find(line), std::string::npos);
  EXPECT_NE(text.find(line, text.find(line) + 1), std::string::npos);
}

TEST_F(Commands, InitializeShowsTheTitleAndProgress) {
  app_.title = "Demo";
  commands_.doInitializeUi();
  EXPECT_EQ(app_.calls, (std::vector<std::string>{"status:Initializing Demo...", "showProgress"}));
}

class InstallInSilence : public Commands {
protected:
  void SetUp() override {
    Commands::SetUp();
    resetLauncherArchive();
    loadLauncher(dir_.file("installer-launcher.exe"),
                 {{JVM_INSTALLER, 1, "setup.exe", "not run"}});
  }
};

TEST_F(InstallInSilence, AskingForADestinationInstallsNothing) {
  settings().silent = true;
  commands_.doInstallJvm(2);
  EXPECT_EQ(getNumber(1), 0);
  EXPECT_EQ(getString(1), "");
}
