#include "launcher/launcher_run.h"
#include "script/launcher_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <cerrno>
#include <filesystem>

#include "archive/index.h"
#include "base/exceptions.h"
#include "base/messages.h"
#include "base/settings.h"
#include "fake_jvm.h"
#include "launch_fixture.h"
#include "os/command_line.h"
#include "os/fault_injection.h"
#include "script/run.h"
#include "script/variables.h"
#include "temp/temp.h"
#include "test_support.h"

namespace {

std::string failureOf(void (*body)(LauncherCommands&), LauncherCommands& commands) {
  return thrownMessage([&] { body(commands); });
}

}  // namespace

// The entries get the ids 1, 2, 3 in order.
class Commands : public LaunchFixture {
protected:
  void SetUp() override {
    LaunchFixture::SetUp();
    useLauncher({{LAUNCHSCRIPT, "launch.txt", "COMMAND: x\n"},
                 {JVM, "a.jvm", "DESC: A\nJVM_EXE: bin/java\n"},
                 {APPLICATION_ARCHIVE, "app.jar", "jar"}});
  }
  std::string log() const { return readLogFile(settings().logFile); }

  // Commands acting on the run that the last useLauncher loaded.
  LauncherCommands& commands() {
    commands_.reset(new LauncherCommands(testRun().commandContext()));
    return *commands_;
  }
  std::unique_ptr<LauncherCommands> commands_;
};

TEST_F(Commands, VerifyNamesWhatIsWrongWithTheId) {
  EXPECT_EQ(failureOf([](LauncherCommands& c) { c.doVerify(false, false, 9); }, commands()),
            "Cannot verify jvm file at index 9 because it does not exist.");
  EXPECT_EQ(failureOf([](LauncherCommands& c) { c.doVerify(false, false, 1); }, commands()),
            "To verify a JVM, use an index of a jvm file. The index passed in was 1 which "
            "corresponds to the file named launch.txt");
}

TEST_F(Commands, FindWithoutAMatchClearsTheResultsAndShowsTextOnlyWhenAsked) {
  testRun().variables().setNumber(1, 1);
  testRun().variables().setString(1, "old home");
  testRun().variables().setString(2, "old file");
  commands().doFindJvm(false, false);
  EXPECT_EQ(testRun().variables().getNumber(1), 0);
  EXPECT_EQ(testRun().variables().getString(1), "");
  EXPECT_EQ(testRun().variables().getString(2), "");
  const std::string text =
      "A suitable JVM could not be found. Please run the program again using the option "
      "-qm:javahome <JAVA HOME DIR>";
  EXPECT_NE(log().find("\nFinding a JVM\n"), std::string::npos);
  EXPECT_NE(log().find("\n" + text + "\n"), std::string::npos);
  EXPECT_EQ(app_.calls.front(), "hideProgress");
  for (const std::string& call : app_.calls) EXPECT_EQ(call.find("message:"), std::string::npos);
  commands().doFindJvm(true, true);
  EXPECT_EQ(app_.calls.back(), "message:" + text);
}

TEST_F(Commands, LaunchesWithoutWhatTheyNeedFailWithMinusOne) {
  EXPECT_EQ(commands().doLaunchInternal(3, 0), -1);  // the entry is not a JVM file
  EXPECT_NE(log().find("ERROR: Unable to launch the internal launch script with the internal JVM "
                       "file. Either the launch script or the JVM file is missing from the "
                       "launcher.\n"),
            std::string::npos);
}

TEST_F(Commands, InstallWithoutAnInstallerEntryFails) {
  testRun().variables().setNumber(1, 1);
  EXPECT_EQ(failureOf([](LauncherCommands& c) { c.doInstallJvm(0); }, commands()),
            "No JVM installer was included in the launcher.");
  EXPECT_EQ(testRun().variables().getNumber(1), 0);
}

TEST_F(Commands, ExecuteLauncherWithAWrongEntryOnlyLogs) {
  commands().doExecuteLauncher(1);  // a JVM file, not a launcher
  commands().doExecuteLauncher(7);  // no entry at that position
  const std::string line = "ERROR: Unable to execute the embedded launcher.\n";
  const std::string text = log();
  ASSERT_NE(text.find(line), std::string::npos);
  EXPECT_NE(text.find(line, text.find(line) + 1), std::string::npos);
}

TEST_F(Commands, AScriptThatFindsNoJvmAndSoLaunchesNothingFails) {
  const std::string search =
      "INSTRUCTIONS:\n\tFIND_JVM 0 0\n\tJMP0 @N1@ NONE\n\tLAUNCH @S2@ 0\n\t:NONE\n/:\n";
  useLauncher({{INSTRUCTIONS, "i.txt", search}, {JVM, "a.jvm", "DESC: A\nJVM_EXE: bin/java\n"}});
  EXPECT_EQ(runInstructions(testRun().instructionScript(), testRun().commandContext()), -1);
  EXPECT_NE(log().find("ERROR: The instructions ended without launching anything"), std::string::npos);
  useLauncher({{INSTRUCTIONS, "i.txt", "INSTRUCTIONS:\n\tSET N1=0\n/:\n"}});
  EXPECT_EQ(runInstructions(testRun().instructionScript(), testRun().commandContext()), 0);  // no search: the script's own result
}

TEST_F(Commands, InitializeShowsTheTitleAndProgress) {
  app_.title = "Demo";
  commands().doInitializeUi();
  EXPECT_EQ(app_.calls, (std::vector<std::string>{"status:Initializing Demo...", "showProgress"}));
}

class InstallInSilence : public Commands {
protected:
  void SetUp() override {
    Commands::SetUp();
    useLauncher({{JVM_INSTALLER, "setup.exe", "not run"}});
  }
};

TEST_F(InstallInSilence, AskingForADestinationInstallsNothing) {
  settings().silent = true;
  commands().doInstallJvm(2);
  EXPECT_EQ(testRun().variables().getNumber(1), 0);
  EXPECT_EQ(testRun().variables().getString(1), "");
}

TEST_F(Commands, VerifyOfAJvmEntryThatWasNotReadFails) {
  newTestRun();
  testRun().loadArchive(false);  // as after -qm:extract: no tag files
  EXPECT_EQ(failureOf([](LauncherCommands& c) { c.doVerify(false, false, 2); }, commands()),
            "The jvm file with file id 2 could not be read.");
}

// A JVM installer or launcher extracted to a temporary root whose path
// holds a blank: on POSIX a script, on Windows a copy of the test program.
class HandOver : public Commands {
protected:
  void SetUp() override {
    Commands::SetUp();
    root_ = temp_.file("Temp Dir");
    std::filesystem::create_directory(root_);
    testTemp().setRoot(root_);
    os::resetFaults();
  }
  void TearDown() override {
    os::resetFaults();
    Commands::TearDown();
  }
  static std::string program() {
    return windowsPaths() ? readWholeFile(os::executablePath())
                          : "#!/bin/sh\nprintf 'DESC: installed\\n' > jvm\n";
  }
  static bool rootIsEmpty(const std::string& root) {
    return std::filesystem::is_empty(root);
  }
  std::string root_;
  // The test program writes its (no) arguments to an empty file "jvm".
  ScopedVariable mode_{"QM_TEST_CHILD", "args"};
  ScopedVariable output_{"QM_TEST_OUTPUT", "jvm"};
};

TEST_F(HandOver, AnInstallerIsStartedByItsQuotedPathAndItsJvmFileRecorded) {
  useLauncher({{JVM_INSTALLER, "setup.exe", program()}});
  commands().doInstallJvm(1);
  EXPECT_EQ(testRun().variables().getNumber(1), 1);
  EXPECT_EQ(testRun().variables().getString(1), privateDir(0) + "jvm");
  EXPECT_EQ(TagFile(testRun().variables().getString(1)).value("JVM_TEMP"), "1");
}

TEST_F(HandOver, AJvmFileThatCannotBeRewrittenFailsTheInstall) {
  const std::string installer = program();
  useLauncher({{JVM_INSTALLER, "setup.exe", installer}});
  // The installer's extraction writes in steps of 61439 bytes; the next write is the JVM file's.
  const uint32_t extractionWrites = static_cast<uint32_t>((installer.size() + 61438) / 61439);
  os::failNth(os::FaultPoint::kFileWrite, extractionWrites + 1, ENOSPC);
  EXPECT_EQ(failureOf([](LauncherCommands& c) { c.doInstallJvm(1); }, commands()),
            writeFailureText(ENOSPC));
  EXPECT_EQ(testRun().variables().getNumber(1), 0);
}

TEST_F(HandOver, AnEmbeddedLauncherThatCannotStartLeavesNothingBehind) {
  useLauncher({{EMBEDDED_LAUNCHER, "inner.exe", program()}});
  os::failNth(os::FaultPoint::kProcessStart, 1,
              os::systemErrorCode(os::SystemFailure::kOutOfMemory));
  EXPECT_NE(failureOf([](LauncherCommands& c) { c.doExecuteLauncher(0); }, commands()),
            "");
  testTemp().removeAll();
  EXPECT_TRUE(rootIsEmpty(root_));
}

class InternalLaunch : public LaunchFixture {
protected:
  void SetUp() override {
    LaunchFixture::SetUp();
    // The launch script runs the test program itself as the application.
    const std::string command = "\"\"\"" + os::executablePath() + "\"\"\"";
    useLauncher({{LAUNCHSCRIPT, "launch.txt",
                  "DISPLAY_CONSOLE: 0\nCOMMAND: " + command + "\n"},
                 {JVM, "a.jvm", "DESC: A\n"}});
  }
  // Commands acting on the run that the last useLauncher loaded.
  LauncherCommands& commands() {
    commands_.reset(new LauncherCommands(testRun().commandContext()));
    return *commands_;
  }
  std::unique_ptr<LauncherCommands> commands_;
};

TEST_F(InternalLaunch, RunsTheEmbeddedJvmFileAndKeepsTheOutputOfTheRun) {
  ScopedVariable mode("QM_TEST_CHILD", "out:said;err:complained;exit:7");
  EXPECT_EQ(commands().doLaunchInternal(2, 0), 7);
  EXPECT_EQ(testRun().launchScriptInUse()->standardOutput(), "said");
  EXPECT_EQ(testRun().lastLaunchErrors(), "complained");
  // Seconds above 0 show the running status before the launch.
  app_.title = "Demo";
  EXPECT_EQ(commands().doLaunchInternal(2, 1), 7);
  EXPECT_NE(std::find(app_.calls.begin(), app_.calls.end(), "status:Running Demo..."),
            app_.calls.end());
}
