#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/settings.h"
#include "launcher/driver.h"
#include "launcher/launcher_run.h"
#include "test_support.h"

namespace {

StringList listOf(std::initializer_list<const char*> items) {
  StringList list;
  for (const char* item : items) list.append(item);
  return list;
}

}  // namespace

class Driver : public LauncherStateTest {
protected:
  void SetUp() override {
    LauncherStateTest::SetUp();
    // A launcher file without an archive: no index, no instruction script.
    launcher_ = dir_.file("plain.exe");
    writeWholeFile(launcher_, "MZ just an executable, nothing appended");
  }
  // Each start is a run of its own.
  int32_t start(std::initializer_list<const char*> arguments) {
    newTestRun();
    return startLauncher(testRun(), listOf(arguments), launcher_);
  }
  std::vector<std::string> messages() const { return app_.messages(); }
  // What the default run says of the fixture's launcher, which has no archive.
  std::string noArchive() const {
    return "Unable to load the launcher file index. The launcher file is damaged or incomplete: "
           "its " + std::to_string(std::filesystem::file_size(launcher_)) +
           " bytes do not end with the launcher's archive.";
  }

  ScopedTempDir dir_;
  std::string launcher_;
};

// A download cut short has lost its archive: the run fails and says so.
TEST_F(Driver, WithoutAnArchiveTheDefaultRunFailsAndSaysSo) {
  EXPECT_EQ(start({}), -1);
  EXPECT_EQ(settings().launcherFile, launcher_);
  EXPECT_EQ(settings().originalLauncherFile, launcher_);
  EXPECT_EQ(messages(), std::vector<std::string>{noArchive()});
  EXPECT_EQ(app_.calls.front(), "progress:0");
}

TEST_F(Driver, VersionReplacesTheRunAndSilentHidesIt) {
  EXPECT_EQ(start({"-qm:version"}), 0);
  EXPECT_EQ(app_.calls.back(), "result:2.51");  // on standard output
  app_.calls.clear();
  settings() = LauncherSettings();
  EXPECT_EQ(start({"-qm:silent", "-qm:version"}), 0);
  // Only the opening progress reset passes, before the option is seen; it
  // writes nothing on a fresh console.
  EXPECT_EQ(app_.calls, std::vector<std::string>{"progress:0"});
}

TEST_F(Driver, OptionsSetTheirSettingsAndTheRestPassesThrough) {
  start({"-qm:log", dir_.file("l.log").c_str(), "-qm:javahome", "J", "-cp:p", "P", "-cp:a", "A",
         "-cp:a", "A2", "-silent", "-console", "-QM:log", "x", "-qm:javaconsole", "-qm:version"});
  const LauncherSettings& s = settings();
  EXPECT_EQ(s.logFile, dir_.file("l.log"));
  EXPECT_EQ(s.userJavaHome, "J");
  const LaunchOptions& launch = testRun().launchOptions();
  EXPECT_EQ(launch.classPathPrepend, "P");
  EXPECT_EQ(launch.classPathAppend, "A2");
  EXPECT_TRUE(s.silent);
  EXPECT_TRUE(launch.console);
  EXPECT_EQ(launch.passThroughArguments.items(),
            (std::vector<std::string>{"-silent", "-console", "-QM:log", "x"}));
  EXPECT_EQ(s.launcherArguments.count(), 16);
  EXPECT_FALSE(s.removeLauncherAtExit);
}

TEST_F(Driver, AValueIsTheNextArgumentWhateverItIs) {
  start({"-qm:javahome", "-qm:version"});
  EXPECT_EQ(settings().userJavaHome, "-qm:version");
  EXPECT_EQ(messages(), std::vector<std::string>{noArchive()});
}

TEST_F(Driver, OriginalLauncherOptionAsksForSelfRemoval) {
  start({"-qm:orig", "C:\\first\\launcher.exe", "-qm:version"});
  EXPECT_EQ(settings().originalLauncherFile, "C:\\first\\launcher.exe");
  EXPECT_EQ(launcherDirectory(), "C:\\first");
  EXPECT_TRUE(settings().removeLauncherAtExit);
}

TEST_F(Driver, OptionsMissingTheirValueAtTheEnd) {
  EXPECT_EQ(start({"-qm:version", "-qm:log"}), -1);
  EXPECT_EQ(messages().back(),
            "A log file name must be specified after the -log option on the command line.");
  EXPECT_EQ(start({"-qm:version", "-qm:orig"}), -1);
  EXPECT_EQ(messages().back(), "Missing original launcher file name.");
  EXPECT_FALSE(settings().removeLauncherAtExit);
  // Options whose value is optional are ignored at the end.
  EXPECT_EQ(start({"-qm:version", "-qm:tempdir", "-cp:a", "-qm:javahome", "-cp:p"}), 0);
}

TEST_F(Driver, InputOptionWithoutAFileNameStopsTheRun) {
  EXPECT_EQ(start({"-qm:in"}), -1);
  EXPECT_EQ(messages(),
            std::vector<std::string>{"An input file name must follow the '-in' command line option."});
  EXPECT_EQ(app_.calls.back(), "message:An input file name must follow the '-in' command line option.");
}

TEST_F(Driver, LogOptionWithoutValueIsReplacedByTheDefaultRunsResult) {
  // The default run still follows and its result wins.
  EXPECT_EQ(start({"-qm:orig"}), -1);
  EXPECT_EQ(messages(),
            (std::vector<std::string>{"Missing original launcher file name.", noArchive()}));
}

TEST_F(Driver, AnUnreadableLauncherFileIsReportedWithTheIndexPrefix) {
  settings().logFile = dir_.file("run.log");
  EXPECT_EQ(startLauncher(testRun(), StringList(), dir_.file("missing.exe")), -1);
  const std::string expected = "Unable to load the launcher file index. Cannot open launcher file.";
  EXPECT_EQ(messages(), std::vector<std::string>{expected});
  EXPECT_EQ(readLogFile(dir_.file("run.log")), "------------------\nERROR: " + expected + "\n");
}
