#pragma once
// What the launch tests share: a launcher directory and a temporary root of
// their own, a JVM description file to expand against, the run's log, and
// launcher files with archive entries.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "archive/index.h"
#include "archive/index_writer.h"
#include "base/exceptions.h"
#include "base/settings.h"
#include "base/text.h"
#include "launch/jvm_file.h"
#include "launch/launch_script.h"
#include "launcher/launcher_run.h"
#include "os/environment.h"
#include "tagfile/tag_file.h"
#include "temp/cleanup_list.h"
#include "temp/temp.h"
#include "test_support.h"

// Sets (null: removes) an environment variable for one test, then puts it back.
class ScopedVariable {
public:
  ScopedVariable(const std::string& name, const char* value) : name_(name) {
    had_ = os::getEnvironmentVariable(name_, &saved_);
    const std::string text = value ? value : "";
    os::setEnvironmentVariable(name_, value ? &text : nullptr);
  }
  ~ScopedVariable() { os::setEnvironmentVariable(name_, had_ ? &saved_ : nullptr); }

private:
  std::string name_, saved_;
  bool had_ = false;
};

inline std::string variable(const std::string& name) {
  std::string value;
  return os::getEnvironmentVariable(name, &value) ? value : std::string();
}

class LaunchFixture : public LauncherStateTest {
protected:
  void SetUp() override {
    LauncherStateTest::SetUp();
    testTemp().setRoot(tempRoot());
    settings().logFile = dir_.file("run.log");
    settings().launcherFile = settings().originalLauncherFile = dir_.file("setup.exe");
    for (const auto& [tag, value] :
         std::vector<std::pair<std::string, std::string>>{{"CLASSPATH", "-cp "},
                                                          {"CLASSPATH_SEPARATOR", ";"},
                                                          {"SYSTEM", "-D"},
                                                          {"SYSTEM_SEPARATOR", "="}})
      jvmTags_.setValue(tag, value);
  }
  void TearDown() override {
    LauncherStateTest::TearDown();
  }

  std::string tempRoot() const { return ensureTrailingSeparator(temp_.path()); }
  std::string privateDir(size_t i) const {
    return ensureTrailingSeparator(testTemp().cleanupList().directories().at(i));
  }

  // Writes the launcher file with these entries and loads its index and scripts.
  void useLauncher(const std::vector<Stored>& stored, uint8_t kind = 1) {
    writeWholeFile(settings().launcherFile, launcherFileBytes(numberedParts(stored), kind, "MZ stub"));
    newTestRun();
    testRun().loadArchive(true);
  }

  // The log without its separator line; emptied for the next look.
  std::string takeLog() {
    std::string text = readLogFile(settings().logFile);
    if (text.rfind("------------------\n", 0) == 0) text.erase(0, 19);
    writeWholeFile(settings().logFile, "");
    return text;
  }

  // Gives script the launch context of the run that useLauncher loaded.
  static void onTestLauncher(LaunchScript& script) { script.useContext(&testRun().launchContext()); }

  std::string build(const std::string& command) {
    LaunchScript script(command, true, false);
    onTestLauncher(script);
    return script.buildCommand(jvm_);
  }
  static std::string errorOf(const std::function<void()>& step) {
    return thrownMessage(step);
  }
  std::string buildError(const std::string& command) {
    return errorOf([&] { build(command); });
  }

  ScopedTempDir dir_;   // the launcher's directory
  ScopedTempDir temp_;  // the temporary root
  TagFile jvmTags_;
  JvmFile jvm_{jvmTags_, "test.jvm"};
};
