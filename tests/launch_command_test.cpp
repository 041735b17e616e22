#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/paths.h"
#include "launch/execute_launch.h"
#include "launch/pass_through.h"
#include "launch_fixture.h"
#include "os/command_line.h"
#include "os/path.h"
#include "os/windows_argv.h"

namespace {

class LaunchCommandTest : public LaunchFixture {
protected:
  // A class path that ends in the application archive, as the sample's does.
  std::string buildWithArchive(const std::string& command) {
    TagFile tags;
    tags.setValue("COMMAND", command);
    tags.setValue("ARCHIVE", "\"%APPLICATION_ARCHIVE%()\"");
    LaunchScript script(tags);
    onTestLauncher(script);
    return script.buildCommand(jvm_);
  }
  void writeSideFile(const std::string& extension, const std::string& text) {
    writeWholeFile(dir_.file("setup" + extension), text);
  }
};

TEST_F(LaunchCommandTest, SideFilesAndWhatTheyAdd) {
  EXPECT_EQ(sideFilePath("C:\\dist\\setup.exe", ".cp1"), "C:\\dist\\setup.cp1");
  EXPECT_EQ(sideFilePath("C:\\dist.old\\setup", ".cp1"), "C:\\dist.old\\setup.cp1");
  EXPECT_EQ(sideFilePath("setup.exe", ".cp"), "setup.cp");
  EXPECT_EQ(build("[%RUNTIME_SYSTEMPROP%()][%RUNTIME_JAVAARGS%()]"), "[][]");
  writeSideFile(".sp", "a=1\r\n\n  novalue  \nb=x=y");
  jvmTags_.setValue("OPT", "-Xopt");
  writeSideFile(".ja", "@OPT@:on\n@MISSING@\n\t-verbose \n%SYSTEMPROP%(\"k\", \"v\")\n");
  // They sit beside the original launcher, not the running one.
  settings().launcherFile = dir_.file("copy\\run.exe");
  EXPECT_EQ(build("%RUNTIME_SYSTEMPROP%()|%RUNTIME_JAVAARGS%()|"),
            "-Da=1 -Db=x=y|-Xopt:on -verbose -Dk=v|");
}

TEST_F(LaunchCommandTest, ClassPathInItsOrderWithoutEmptyElements) {
  useLauncher({{APPLICATION_ARCHIVE, "app.jar", "a"}});
  const std::string bare = buildWithArchive("%CP%()");
  const std::string archive = privateDir(0) + "app.jar";
  // No empty element, which Java would read as the current directory.
  EXPECT_EQ(bare, "-cp \"" + archive + "\"");
  testRun().launchOptions().classPathPrepend = "C:\\lib\\a.jar";
  EXPECT_EQ(buildWithArchive("%CP%(\"x.jar\")"),
            "-cp \"C:\\lib\\a.jar\";x.jar;\"" + archive + "\"");

  settings().launcherFile = dir_.file("full.exe");
  useLauncher({{CLASSPATH_ARCHIVE, "one.jar", "1"}, {CLASSPATH_ARCHIVE, "two.jar", "2"}});
  testRun().launchContext().applicationArchive = archive;  // as a launch before it left it
  testRun().launchOptions().classPathPrepend = "C:\\lib\\a.jar";
  writeSideFile(".cp1", "cp1-a\n\ncp1-b\n");
  writeSideFile(".cp", "cp\n");
  writeSideFile(".cp2", "  cp2  \n");
  jvmTags_.setValue("JVM_CLASSPATH", "jvm.jar");
  jvmTags_.setValue("CLASSPATH_SEPARATOR", "+");
  testRun().launchOptions().classPathAppend = "post";
  const std::string full = buildWithArchive("%CP%(\"arg1\", \"\", \"arg2\")");
  // The class-path archives share one private directory, made only now that
  // there are any.
  ASSERT_EQ(testTemp().cleanupList().directories().size(), 2u);
  EXPECT_EQ(full, "-cp \"C:\\lib\\a.jar\"+cp1-a+cp1-b+jvm.jar+cp+arg1+arg2+\"" + archive + "\"+\"" +
                      privateDir(1) + "one.jar\"+\"" + privateDir(1) + "two.jar\"+cp2+\"post\"");
  EXPECT_EQ(readWholeFile(privateDir(1) + "two.jar"), "2");
}

TEST_F(LaunchCommandTest, ClassPathCanGoIntoAnEnvironmentVariable) {
  ScopedVariable classPath("CLASSPATH", nullptr);
  useLauncher({{CLASSPATH_ARCHIVE, "lib.jar", "l"}, {APPLICATION_ARCHIVE, "app.jar", "a"}});
  jvmTags_.setValue("USE_CP_ENV_VAR", "1");
  jvmTags_.setValue("CP_ENV_VAR", "CLASSPATH");
  takeLog();
  EXPECT_EQ(buildWithArchive("a %CP%(\"\"\"x y.jar\"\"\", \"\"\"\") b"), "a  b");
  // Arguments and the archive lose their quotes; empty elements are left out.
  const std::string expected =
      "x y.jar;" + privateDir(0) + "app.jar;" + privateDir(1) + "lib.jar";
  EXPECT_EQ(variable("CLASSPATH"), expected);
  EXPECT_EQ(takeLog(), "Set env var CLASSPATH to " + expected + "\n\n");

  jvmTags_.setValue("CP_ENV_VAR", "");
  EXPECT_EQ(build("a %CP%() b"), "a  b");
  EXPECT_EQ(
      takeLog(),
      "ERROR: If USE_CP_ENV_VAR is set to 1 in the jvm file, then the jvm file should also define "
      "CP_ENV_VAR.\n");
  // A name the system refuses is an error, not a class path that was set.
  jvmTags_.setValue("CP_ENV_VAR", "A=B");
  build("a %CP%() b");
  EXPECT_EQ(takeLog().rfind("ERROR: Unable to set env var A=B to ", 0), 0u);
  jvmTags_.setValue("USE_CP_ENV_VAR", "01");  // only exactly "1" asks for the variable
  EXPECT_EQ(build("%CP%()"), "-cp \"\"");  // nothing at all: the option still takes a value
}

TEST_F(LaunchCommandTest, PassThroughArgumentsSurviveWindowsSplitting) {
  const std::vector<std::string> torture = {
      "",           "plain",    "two words",       "tab\there",   "a\"b",
      "\"",         "\"\"",     "trailing\\",      "C:\\dir\\\\", "inner\\path",
      "\\\"",       "a\\\\\"b", "\\\\server\\s x", "new\nline",   "\xC3\xA9t\xC3\xA9 \xE9",
      "%PATH% #x#", "   ",      "end\\\" \\"};
  StringList all;
  std::vector<std::string> expected = {"prog"};
  for (const std::string& argument : torture) {
    all.append(argument);
    expected.push_back(argument);
  }
  EXPECT_EQ(os::splitWindowsCommandLine("prog" + passThroughText(all)), expected);
  // Every argument is quoted; without backslashes the form is the plain one.
  EXPECT_EQ(passThroughText(all).substr(0, 26), " \"\" \"plain\" \"two words\" \"t");
  EXPECT_EQ(quotePassThroughArgument("a\"b"), "\"a\\\"b\"");
  EXPECT_EQ(quotePassThroughArgument("C:\\dir\\"), "\"C:\\dir\\\\\"");
  EXPECT_EQ(quotePassThroughArgument("a\\b"), "\"a\\b\"");
}

// The test program itself plays the child, in the mode QM_TEST_CHILD names.
class ExecuteLaunchTest : public LaunchCommandTest {
protected:
  static std::string self() { return "\"" + os::executablePath() + "\""; }
  int32_t launch(LaunchScript& script, const StringList& arguments = StringList(),
                 bool console = false) {
    return executeLaunch(script, jvm_, arguments, console);
  }
};

TEST_F(ExecuteLaunchTest, PassThroughArgumentsArriveUnchanged) {
  StringList list;
  std::string expected;
  for (const char* argument : {"", "plain", "two words", "tab\there", "a\"b", "trailing\\",
                               "C:\\dir\\\\", "\\\"", "a\\\\\"b \\", "\xE9t\xE9"}) {
    list.append(argument);
    expected += "[" + std::string(argument) + "]\n";
  }
  // The child reads its arguments as the Java runtime does, by the
  // platform's rule on either Windows family.
  ScopedVariable mode("QM_TEST_CHILD", "print-platform-arguments");
  ScopedVariable target("QM_TEST_OUTPUT", dir_.file("arguments.txt").c_str());
  LaunchScript script(self(), true, false);
  ASSERT_EQ(launch(script, list), 0);
  EXPECT_EQ(readWholeFile(dir_.file("arguments.txt")), expected);
}

TEST_F(ExecuteLaunchTest, OutputIsCapturedAndLoggedUnlessAConsoleIsShown) {
  ScopedVariable mode("QM_TEST_CHILD", "out:to out;err:to err;touch:marker.txt;exit:3");
  LaunchScript script(self() + " %SYSTEMPROP%(\"p\", \"1\")", true, false);
  script.standardOutput() = "earlier|";
  takeLog();
  EXPECT_EQ(launch(script), 3);
  EXPECT_EQ(script.standardOutput() + script.standardError(), "earlier|to outto err");
  EXPECT_EQ(readWholeFile(dir_.file("marker.txt")), "here");  // run in the launcher's directory
  EXPECT_EQ(
      takeLog(),
      "Executing launch script command: " + self() + " -Dp=1 in working directory " + dir_.path() +
          "\nOutput from the launch script execution\nStdOut:\nearlier|to out\nErrOut:\nto err\n");

  TagFile tags;
  tags.setValue("COMMAND", self());
  tags.setValue("DISPLAY_CONSOLE", "1");
  tags.setValue("AUTO_SET_WORKING_DIR", "0");
  ScopedVariable quiet("QM_TEST_CHILD", "exit:0");
  LaunchScript console(tags), requested(self(), true, false), uncaptured(self(), false, false);
  EXPECT_EQ(launch(console) + launch(requested, StringList(), true) + launch(uncaptured), 0);
  EXPECT_EQ(takeLog(), "Executing launch script command: " + self() +
                           " in current working directory\n" +
                           "Executing launch script command: " + self() + " in working directory " +
                           dir_.path() + "\nExecuting launch script command: " + self() +
                           " in working directory " + dir_.path() + "\n");
}

TEST_F(ExecuteLaunchTest, JavaHomeIsTheJvmsDuringTheRunAndRestoredAfter) {
  jvmTags_.setValue("JVM_HOME", "C:\\j2re1.4.1");
  // A shell of the platform shows what the child was given.
  LaunchScript script(os::pathSeparator() == '\\' ? "cmd.exe /c set JAVA_HOME"
                                                  : "/bin/sh -c \"printenv JAVA_HOME\"",
                      true, false);
  LaunchScript missing("\"" + dir_.file("no-such-program.exe") + "\"", true, false);
  LaunchScript faulty("%NOPE%()", true, false);
  {
    ScopedVariable before("JAVA_HOME", "C:\\previous");
    EXPECT_EQ(launch(script), 0);
    EXPECT_NE(script.standardOutput().find("C:\\j2re1.4.1"), std::string::npos)
        << script.standardOutput();
    EXPECT_EQ(variable("JAVA_HOME"), "C:\\previous");
    // A faulty command runs nothing and leaves it alone.
    EXPECT_EQ(errorOf([&] { launch(faulty); }),
              "Launch script error: Invalid function name (NOPE).");
    EXPECT_EQ(variable("JAVA_HOME"), "C:\\previous");
  }
  ScopedVariable unset("JAVA_HOME", nullptr);
  launch(script);
  EXPECT_EQ(variable("JAVA_HOME"), "");
  // Also when the program cannot be started.
  EXPECT_NE(errorOf([&] { launch(missing); }), "");
  EXPECT_EQ(variable("JAVA_HOME"), "");
}

TEST_F(ExecuteLaunchTest, WizardLaunchersApplyTheJvmFilesEnvironment) {
  for (const char* setting : {"  QM_TEST_CHILD = exit:7 ", "\t", "QM_LS_NOVALUE", "QM_LS_WIZ=a=b"})
    jvmTags_.addValue("SET_ENV_FOR_WIZARD", setting);
  ScopedVariable mode("QM_TEST_CHILD", "exit:5");
  ScopedVariable noValue("QM_LS_NOVALUE", "was set");
  ScopedVariable wizard("QM_LS_WIZ", nullptr);
  LaunchScript script(self(), true, false);
  useLauncher({}, 1);
  onTestLauncher(script);
  EXPECT_EQ(launch(script), 5);
  EXPECT_EQ(variable("QM_LS_WIZ"), "");
  useLauncher({}, 2);
  onTestLauncher(script);
  EXPECT_EQ(launch(script), 7);
  EXPECT_EQ(
      variable("QM_TEST_CHILD") + "|" + variable("QM_LS_WIZ") + "|" + variable("QM_LS_NOVALUE"),
      "exit:7|a=b|");
}

}  // namespace
