#include <gtest/gtest.h>

#include "base/settings.h"
#include "launcher/driver.h"
#include "test_support.h"

class InputFile : public LauncherStateTest {
protected:
  void SetUp() override {
    LauncherStateTest::SetUp();
    launcher_ = dir_.file("plain.exe");
    writeWholeFile(launcher_, "no archive here");
  }
  int32_t start(const std::vector<std::string>& arguments) {
    StringList list;
    for (const std::string& argument : arguments) list.append(argument);
    newTestRun();
    return startLauncher(testRun(), list, launcher_);
  }
  std::vector<std::string> messages() const { return app_.messages(); }

  ScopedTempDir dir_;
  std::string launcher_;
};

TEST_F(InputFile, RunInstructionsRunsTheNamedScriptAfterTheWalk) {
  writeWholeFile(dir_.file("script.txt"),
                 "INSTRUCTIONS:\n SET N1 = 5\n JMP0 @N1@ X\n GOTO END\n :X\n :END\n/:\n");
  writeWholeFile(dir_.file("in.tag"), "ACTION: RUN_INSTRUCTIONS\nINSTRUCTIONS: " +
                                          dir_.file("script.txt") + "\nLOGFILE: " +
                                          dir_.file("in.log") + "\n");
  // -qm:version cleared the run; the input file's action sets it again.
  EXPECT_EQ(start({"-qm:log", dir_.file("run.log"), "-qm:version", "-qm:in", dir_.file("in.tag")}),
            0);
  // The loading line goes to the log in force; LOGFILE names the log from then on.
  EXPECT_EQ(readLogFile(dir_.file("run.log")),
            "------------------\nLoading input file " + dir_.file("in.tag") + "\n");
  EXPECT_EQ(settings().logFile, dir_.file("in.log"));
}

TEST_F(InputFile, NameInQuotesOpensTheFileButReportsTheQuotedName) {
  writeWholeFile(dir_.file("in.tag"), "ACTION: RUN_INSTRUCTIONS\nbroken line\n");
  const std::string quoted = "\"" + dir_.file("in.tag") + "\"";
  settings().logFile = dir_.file("run.log");
  EXPECT_EQ(start({"-qm:in", quoted}), -1);
  const std::string syntax =
      "Syntax error in " + quoted + " at line 2 ==> Missing colon at the end of the tag name.";
  EXPECT_EQ(messages(), (std::vector<std::string>{"Could not load the input file." + syntax, syntax}));
  EXPECT_EQ(readLogFile(dir_.file("run.log")), "------------------\nLoading input file " +
                                                    quoted + "\nERROR: " + syntax +
                                                    "\nERROR: " + syntax + "\n");
}

TEST_F(InputFile, MissingOrUnnamedFileCannotBeOpened) {
  const std::string cannot =
      "Unable to open input file specified on the command line after the -in option.";
  EXPECT_EQ(start({"-qm:in", dir_.file("absent.tag")}), -1);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Could not load the input file." + cannot, cannot}));
  app_.calls.clear();
  EXPECT_EQ(start({"-qm:in", ""}), -1);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Could not load the input file." + cannot, cannot}));
}

TEST_F(InputFile, MissingActionIsShownTwiceAndFails) {
  writeWholeFile(dir_.file("in.tag"), "SHOW_PROGRESS: 1\n");
  EXPECT_EQ(start({"-qm:in", dir_.file("in.tag")}), -1);
  EXPECT_EQ(messages(), (std::vector<std::string>{"Invalid action in input file: ",
                                                  "Invalid action in input file: "}));
}

TEST_F(InputFile, VerifyWithoutItsValuesIsLoggedAndFails) {
  writeWholeFile(dir_.file("in.tag"),
                 "ACTION: VERIFY_JVM\nVERIFY_JVM_HOME: x\nLOGFILE: " + dir_.file("v.log") + "\n");
  EXPECT_EQ(start({"-qm:in", dir_.file("in.tag")}), -1);
  EXPECT_NE(readLogFile(dir_.file("v.log"))
                .find("ERROR: TO execute the VERIFY_JVM action, you must also provide values in "
                      "the input file for VERIFY_JVM_FILE and VERIFY_JVM_HOME.\n"),
            std::string::npos);
}

TEST_F(InputFile, InstallWithoutItsValuesDoesNothingAndSucceeds) {
  writeWholeFile(dir_.file("in.tag"), "ACTION: INSTALL_JVM\nINSTALL_JVM_EXE: setup.exe\n");
  EXPECT_EQ(start({"-qm:in", dir_.file("in.tag")}), 0);
  EXPECT_TRUE(messages().empty());
}
