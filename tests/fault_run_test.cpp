// Whole default runs (options, index, JVM search and verification, launch,
// cleanup at exit) with faults put in through the OS layer where a machine
// nobody controls would put them: a full disk, a temporary root that refuses
// new names, a launcher file held by a scanner, pipes that break, a process
// that cannot be made. Each run must end with its message and exit code and
// leave the temporary root as it found it.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "archive/index.h"
#include "archive/index_writer.h"
#include "base/messages.h"
#include "fake_jvm.h"
#include "launcher/driver.h"
#include "launcher/launcher_run.h"
#include "os/fault_injection.h"
#include "os/path.h"
#include "temp/temp.h"
#include "temp_area_fixture.h"

namespace {

namespace fs = std::filesystem;

using os::FaultPoint;
using os::SystemFailure;

// More than two copy steps of an extraction, so that a fault can fall in
// the middle of one.
const size_t kVerifierSize = 150000;

std::string instructions() {
  return "INSTRUCTIONS:\n\tINITIALIZE_UI\n\tFIND_JVM 1 1\n\tJMP0 @N1@ NONE\n\tLAUNCH @S2@ 0\n"
         "\t:NONE\n/:\n";
}

std::string jvmDescription() {
  return "DESC: Fake runtime\nJVM_EXE: " + fakeJvmExe() +
         "\nCLASSPATH: \"-cp \"\nCLASSPATH_SEPARATOR: ;\nSYSTEM: -D\nSYSTEM_SEPARATOR: =\n"
         "JVM_PROPERTIES: \"java.vendor=Fake Inc.\"\n";
}

std::string launchScript() {
  const std::string separator(1, os::pathSeparator());
  return "DESC: Faulty\nDISPLAY_CONSOLE: 0\nAUTO_SET_WORKING_DIR: 0\n"
         "ARCHIVE: \"%APPLICATION_ARCHIVE%()\"\n"
         "COMMAND: \"\"\"@JVM_HOME@" + separator + "@JVM_EXE@\"\" %CP%() run\"\n";
}

std::set<std::string> listing(const std::string& directory) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(directory))
    names.insert(entry.path().string());
  return names;
}

class FaultRun : public FakeJvmFixture {
protected:
  void SetUp() override {
    FakeJvmFixture::SetUp();
    os::resetFaults();
    testTemp().setNameRetryTiming({std::chrono::milliseconds(1), std::chrono::milliseconds(20)});
    home_ = dir_.file("jdk");
    makeFakeJvm(home_, "1739021872\nFake Inc.\n");
    launcher_ = dir_.file("setup.exe");
    writeLauncher();
    writeWholeFile(tempRoot() + "unrelated.txt", "not the launcher's");
    before_ = listing(tempRoot());
  }
  void TearDown() override {
    os::resetFaults();
    FakeJvmFixture::TearDown();
  }

  void writeLauncher() {
    const std::vector<Stored> stored = {{INSTRUCTIONS, "instructions.txt", instructions()},
                                        {JVM, "fake.jvm", jvmDescription()},
                                        {LAUNCHSCRIPT, "launch.txt", launchScript()},
                                        {VERIFIER_ARCHIVE, "Verify.jar", std::string(kVerifierSize, 'v')},
                                        {APPLICATION_ARCHIVE, "app.jar", "application"}};
    writeWholeFile(launcher_, launcherFileBytes(numberedParts(stored), 1, "MZ stub"));
  }

  // A whole run, cleanup at exit included, as the entry makes it.
  int32_t run() {
    StringList arguments;
    for (const std::string& argument :
         {std::string("-qm:tempdir"), tempRoot(), std::string("-qm:javahome"), home_,
          std::string("-qm:log"), dir_.file("run.log")})
      arguments.append(argument);
    return runLauncher(arguments, launcher_);
  }

  std::string runLog() const { return readLogFile(dir_.file("run.log")); }
  std::string lastMessage() const {
    const std::vector<std::string> shown = app_.messages();
    return shown.empty() ? std::string() : shown.back();
  }
  static std::string writeFailure(int error) {
    return loadMessageText(kTextErrorWritingFile) + std::to_string(error) +
           loadMessageText(kTextNotEnoughSpace);
  }

  void expectTempRootAsBefore() const { EXPECT_EQ(listing(tempRoot()), before_); }

  std::string home_;
  std::string launcher_;
  std::set<std::string> before_;
};

TEST_F(FaultRun, WithoutFaultsTheRunLaunchesAndLeavesNothingBehind) {
  EXPECT_EQ(run(), 0);
  EXPECT_TRUE(app_.messages().empty());
  EXPECT_NE(runLog().find("Matching JVM home is " + home_), std::string::npos) << runLog();
  EXPECT_NE(fakeJvmArguments(home_).find("app.jar"), std::string::npos);
  EXPECT_EQ(os::faultsInjected(FaultPoint::kFileWrite), 0u);
  expectTempRootAsBefore();
}

TEST_F(FaultRun, AFullDiskDuringExtractionFailsTheRunWithTheWriteError) {
  // The second copy step of the verifier jar finds the disk full.
  os::failNth(FaultPoint::kFileWrite, 2, ENOSPC);
  EXPECT_EQ(run(), -1);
  EXPECT_EQ(os::faultsInjected(FaultPoint::kFileWrite), 1u);
  // FIND_JVM says that no JVM was found and why; the driver ends the run.
  EXPECT_EQ(app_.messages(),
            (std::vector<std::string>{messageText(kMsgNoSuitableJvm) + " " + writeFailure(ENOSPC),
                                      writeFailure(ENOSPC)}));
  EXPECT_NE(runLog().find("ERROR: " + writeFailure(ENOSPC)), std::string::npos) << runLog();
  EXPECT_EQ(runLog().find("Executing launch script command"), std::string::npos);
  expectTempRootAsBefore();
}

TEST_F(FaultRun, AFullDiskWhileWritingTheJvmFileCopyFailsInsteadOfLaunchingACutCopy) {
  // The verifier jar takes three copy steps; the copy's first write fails,
  // and only that one: the application archive would still fit.
  os::failNth(FaultPoint::kFileWrite, 4, ENOSPC);
  EXPECT_EQ(run(), -1);
  EXPECT_EQ(os::faultsInjected(FaultPoint::kFileWrite), 1u);
  EXPECT_EQ(lastMessage(), writeFailure(ENOSPC));
  EXPECT_NE(runLog().find("Found matching JVM at " + home_), std::string::npos) << runLog();
  // The program was never started: the only run of the fake JVM verified it.
  EXPECT_EQ(fakeJvmArguments(home_).find("app.jar"), std::string::npos);
  EXPECT_EQ(countOf(runLog(), "Executing launch script command"), 1);
  expectTempRootAsBefore();
}

TEST_F(FaultRun, ATempRootThatRefusesEveryNameEndsTheRunAfterBoundedRetries) {
  const unsigned long denied = os::systemErrorCode(SystemFailure::kAccessDenied);
  os::failNth(FaultPoint::kTempName, 1, denied, os::kEveryLaterCall);
  EXPECT_EQ(run(), -1);
  EXPECT_GT(os::faultsInjected(FaultPoint::kTempName), 1u);  // retried, then given up
  EXPECT_EQ(lastMessage(), systemCallFailure(kCallTempFileName, denied));
  expectTempRootAsBefore();
}

TEST_F(FaultRun, ATempRootThatRefusesOneNameOnlyDelaysTheRun) {
  os::failNth(FaultPoint::kTempName, 1, os::systemErrorCode(SystemFailure::kAccessDenied));
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(os::faultsInjected(FaultPoint::kTempName), 1u);
  expectTempRootAsBefore();
}

TEST_F(FaultRun, ANameTakenByAnotherLauncherIsReplacedByANewOne) {
  // Another launcher on the same root made its directory under the name this
  // one had just freed: the run asks for other names and goes on.
  const unsigned long taken = os::systemErrorCode(SystemFailure::kAlreadyExists);
  os::failNth(FaultPoint::kCreateDirectory, 1, taken, 3);
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(os::faultsInjected(FaultPoint::kCreateDirectory), 3u);
  expectTempRootAsBefore();
}

TEST_F(FaultRun, ADirectoryThatCannotBeMadeEndsTheRunWithTheSystemsReason) {
  const unsigned long taken = os::systemErrorCode(SystemFailure::kAlreadyExists);
  os::failNth(FaultPoint::kCreateDirectory, 1, taken, os::kEveryLaterCall);
  EXPECT_EQ(run(), -1);
  EXPECT_GT(os::faultsInjected(FaultPoint::kCreateDirectory), 1u);  // bounded, then given up
  EXPECT_EQ(lastMessage(), systemCallFailure(kCallCreateDirectory, taken));
  expectTempRootAsBefore();

  // Any other failure is not a lost race: no second name is asked for.
  os::resetFaults();
  app_.calls.clear();
  const unsigned long denied = os::systemErrorCode(SystemFailure::kAccessDenied);
  os::failNth(FaultPoint::kCreateDirectory, 1, denied, os::kEveryLaterCall);
  EXPECT_EQ(run(), -1);
  EXPECT_EQ(os::faultsInjected(FaultPoint::kCreateDirectory), 1u);
  EXPECT_EQ(lastMessage(), systemCallFailure(kCallCreateDirectory, denied));
  expectTempRootAsBefore();
}

TEST_F(FaultRun, ALauncherFileThatCannotBeOpenedAgainFailsItsExtraction) {
  // Opened once for the index; a scanner holds it when the verifier is copied.
  os::failNth(FaultPoint::kLauncherOpen, 2, EACCES);
  EXPECT_EQ(run(), -1);
  EXPECT_EQ(lastMessage(), writeFailure(EACCES));
  expectTempRootAsBefore();

  os::resetFaults();
  app_.calls.clear();
  os::failNth(FaultPoint::kLauncherOpen, 1, EACCES);
  EXPECT_EQ(run(), -1);
  EXPECT_EQ(lastMessage(), "Unable to load the launcher file index. Cannot open launcher file.");
  expectTempRootAsBefore();
}

TEST_F(FaultRun, APipeThatBreaksIsTheEndOfItsOutputNotAFailure) {
  // Each pass looks into standard output first, then standard error: here
  // the verifier's and the program's error pipes break at once.
  const unsigned long broken = os::systemErrorCode(SystemFailure::kBrokenPipe);
  os::failNth(FaultPoint::kPipePeek, 2, broken);
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(os::faultsInjected(FaultPoint::kPipePeek), 1u);
  EXPECT_TRUE(app_.messages().empty());
  EXPECT_NE(fakeJvmArguments(home_).find("app.jar"), std::string::npos);
  expectTempRootAsBefore();
}

TEST_F(FaultRun, APipeThatCannotBeReadEndsTheRunWithTheSystemsText) {
  const unsigned long invalid = os::systemErrorCode(SystemFailure::kInvalidHandle);
  os::failNth(FaultPoint::kPipeRead, 1, invalid);
  EXPECT_EQ(run(), -1);
  EXPECT_EQ(lastMessage(), systemCallFailure(kCallReadPipe, invalid));
  expectTempRootAsBefore();

  os::resetFaults();
  app_.calls.clear();
  os::failNth(FaultPoint::kPipePeek, 1, invalid);
  EXPECT_EQ(run(), -1);
  EXPECT_EQ(lastMessage(), systemCallFailure(kCallPeekPipe, invalid));
  expectTempRootAsBefore();
}

TEST_F(FaultRun, AProcessThatCannotBeCreatedEndsTheRunWithTheSystemsText) {
  const unsigned long noMemory = os::systemErrorCode(SystemFailure::kOutOfMemory);
  // The verifier run first, then (in a second run) the program itself.
  os::failNth(FaultPoint::kProcessStart, 1, noMemory);
  EXPECT_EQ(run(), -1);
  EXPECT_EQ(lastMessage(), systemCallFailure(kCallStartProcess, noMemory));
  expectTempRootAsBefore();

  os::resetFaults();
  app_.calls.clear();
  os::failNth(FaultPoint::kProcessStart, 2, noMemory);
  EXPECT_EQ(run(), -1);
  EXPECT_EQ(lastMessage(), systemCallFailure(kCallStartProcess, noMemory));
  EXPECT_NE(runLog().find("Matching JVM home is " + home_), std::string::npos) << runLog();
  expectTempRootAsBefore();
}

TEST_F(FaultRun, NoRoomForTheJvmFileCopyEndsTheRunWithoutLaunching) {
  // The verifier's directory takes the first name; the copy's name fails.
  const unsigned long full = os::systemErrorCode(SystemFailure::kDiskFull);
  os::failNth(FaultPoint::kTempName, 2, full);
  run();
  EXPECT_EQ(os::faultsInjected(FaultPoint::kTempName), 1u);
  // The log is read back as text: the system's text loses its carriage return.
  std::string text = systemCallFailure(kCallTempFileName, full);
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  EXPECT_NE(runLog().find("WARNING: " + text), std::string::npos)
      << runLog();
  EXPECT_EQ(fakeJvmArguments(home_).find("app.jar"), std::string::npos);
  // A match that cannot be handed on is no match: nothing is launched.
  EXPECT_NE(runLog().find("ERROR: No temporary JVM file could be made for the JVM at " + home_),
            std::string::npos)
      << runLog();
  EXPECT_EQ(lastMessage(), messageText(kMsgNoSuitableJvm));
  expectTempRootAsBefore();
}

TEST_F(FaultRun, AJvmHeldForAMomentByAnotherProgramIsStartedOnceLetGo) {
  // A scanner, or another launcher looking at the same JVM, holds its file.
  const unsigned long busy = os::systemErrorCode(SystemFailure::kProgramBusy);
  os::failNth(FaultPoint::kProcessStart, 1, busy, 3);
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(os::faultsInjected(FaultPoint::kProcessStart), 3u);
  EXPECT_TRUE(app_.messages().empty());
  EXPECT_NE(fakeJvmArguments(home_).find("app.jar"), std::string::npos);
  expectTempRootAsBefore();
}


}  // namespace
