#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/paths.h"
#include "launch_fixture.h"
#include "os/path.h"
#include "os/windows_argv.h"

namespace {

class LaunchScriptTest : public LaunchFixture {};

// The sample product's command.
const std::string kSampleCommand =
      R"x("@JVM_HOME@/@JVM_EXE@" %CP%() %SYSTEMPROP%("qm.media.home", """%APPLICATION_ARCHIVE%()""") )x"
      R"x(%SYSTEMPROP%("qm.jvm.temp", """@JVM_TEMP@""") %SYSTEMPROP%("qm.external.home", """%LAUNCHER_DIR%()""") )x"
      R"x(%SYSTEMPROP%("java.ext.dirs", "") %SYSTEMPROP%("qm.jvm.file", """@JVM_FILE@""") )x"
      R"x(%SYSTEMPROP%("java.endorsed.dirs", "") %SYSTEMPROP%("qm.launcher.file", """%LAUNCHER_FILE%()""") )x"
      R"x(%SYSTEMPROP%("qm.jvm.home", """@JVM_HOME@""") %SYSTEMPROP%("temp.dir", """%TEMP_DIR%()""")  )x"
      R"x(%RUNTIME_SYSTEMPROP%() %IF_EXISTS%("INIT_JAVA_HEAP", "@INIT_JAVA_HEAP@20m") )x"
      R"x(%IF_EXISTS%("MAX_JAVA_HEAP", "@MAX_JAVA_HEAP@60m") %RUNTIME_JAVAARGS%() run )x";

TEST_F(LaunchScriptTest, SampleCommandExpandsAsInTheWorkedExample) {
  const std::string& command = kSampleCommand;
  // The file writes each inner quote twice inside one more pair of quotes.
  std::string quoted;
  for (char c : command) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  writeWholeFile(dir_.file("launch.txt"),
                 "DESC: Sample\nDISPLAY_CONSOLE: 1\nARCHIVE: \"\"\"%APPLICATION_ARCHIVE%()\"\"\"\n"
                 "COMMAND: \"" +
                     quoted + "\"\n");
  const TagFile scriptTags(dir_.file("launch.txt"));
  LaunchScript script(scriptTags);
  ASSERT_EQ(script.command(), command);
  EXPECT_TRUE(script.displayConsole() && script.autoSetWorkingDir() && script.captureOutput());

  for (const auto& [tag, value] :
       std::vector<std::pair<std::string, std::string>>{{"JVM_HOME", "C:\\j2re1.4.1"},
                                                        {"JVM_EXE", "bin\\java.exe"},
                                                        {"JVM_TEMP", "0"},
                                                        {"JVM_FILE", "C:\\TEMP\\LRE2.tmp"},
                                                        {"INIT_JAVA_HEAP", "-Xms"},
                                                        {"MAX_JAVA_HEAP", "-Xmx"}})
    jvmTags_.setValue(tag, value);
  // The running launcher must be real, as the archive is extracted from it.
  useLauncher({{APPLICATION_ARCHIVE, "app.jar", "PK"}});
  onTestLauncher(script);
  settings().originalLauncherFile = "C:\\dist\\setup.exe";
  const std::string expanded = script.buildCommand(jvm_);

  const std::string archive = privateDir(0) + "app.jar";
  EXPECT_EQ(readWholeFile(archive), "PK");
  EXPECT_EQ(expanded,
            R"x("C:\j2re1.4.1/bin\java.exe" -cp ")x" + archive + R"x(" -Dqm.media.home=")x" +
                archive +
                R"x(" -Dqm.jvm.temp="0" -Dqm.external.home="C:\dist" -Djava.ext.dirs= )x"
                R"x(-Dqm.jvm.file="C:\TEMP\LRE2.tmp" -Djava.endorsed.dirs= -Dqm.launcher.file=")x" +
                settings().launcherFile + R"x(" -Dqm.jvm.home="C:\j2re1.4.1" -Dtemp.dir=")x" +
                withoutTrailingSeparator(tempRoot()) + R"x("   -Xms20m -Xmx60m  run )x");
}

TEST_F(LaunchScriptTest, PathsAreDataAndStayOneArgumentWhateverTheyHold) {
  // Windows names cannot hold a double quote; elsewhere they can.
  const std::string odd = std::string("odd @x@ %TEMP_DIR%() #PATH# ") +
                          (os::pathSeparator() == '/' ? "\"q\" " : "") + "' $HOME; a\\b \xc3\xa9";
  const std::string root = ensureTrailingSeparator(temp_.path()) + odd;
  std::filesystem::create_directories(root);  // named as the launcher names it
  testTemp().setRoot(root);
  useLauncher({{APPLICATION_ARCHIVE, "app.jar", "PK"}});
  settings().originalLauncherFile = "/apps/" + odd + "/setup.exe";
  jvmTags_.setValue("JVM_HOME", "/jdk/" + odd);
  jvmTags_.setValue("JVM_EXE", "bin/java");
  jvmTags_.setValue("JVM_FILE", "/tmp/" + odd + "/LRE1.tmp");
  ScopedVariable variable("QM_LS_ODD", odd.c_str());
  LaunchScript script(kSampleCommand + R"x(%SYSTEMPROP%("env", """#QM_LS_ODD#"""))x", true, true);
  onTestLauncher(script);

  const std::vector<std::string> arguments = os::splitWindowsCommandLine(script.buildCommand(jvm_));
  const auto property = [&](const std::string& name) {
    for (const std::string& argument : arguments)
      if (argument.rfind("-D" + name + "=", 0) == 0) return argument.substr(name.size() + 3);
    return std::string("(missing)");
  };
  EXPECT_EQ(property("qm.jvm.home"), "/jdk/" + odd);
  EXPECT_EQ(property("qm.jvm.file"), "/tmp/" + odd + "/LRE1.tmp");
  EXPECT_EQ(property("qm.external.home"), "/apps/" + odd);
  EXPECT_EQ(property("temp.dir"), root);
  EXPECT_EQ(property("env"), odd);
  EXPECT_EQ(property("qm.media.home").rfind(root, 0), 0u) << property("qm.media.home");
  EXPECT_EQ(std::count(arguments.begin(), arguments.end(), "run"), 1);
}

TEST_F(LaunchScriptTest, MarkersEscapesAndPassOrder) {
  ScopedVariable set("QM_LS_SET", "env");
  ScopedVariable unset("QM_LS_UNSET", nullptr);
  ScopedVariable chain("QM_LS_CHAIN", "<#QM_LS_SET#>");
  jvmTags_.setValue("FUNC", "%TEMP_DIR%()");
  jvmTags_.setValue("ENV", "#QM_LS_SET#");
  // A variable's value is data: markers in it are not read again.
  EXPECT_EQ(build("a#QM_LS_SET#b [#QM_LS_UNSET#] #QM_LS_CHAIN#"), "aenvb [] <#QM_LS_SET#>");
  EXPECT_EQ(build("#PATH#"), variable("PATH"));
  EXPECT_EQ(build("100%% ## mail@@host"), "100% # mail@host");
  EXPECT_EQ(build("a %"), "a %");
  // Values may name variables, but nothing after the first pass is a call.
  EXPECT_EQ(build("@FUNC@ @ENV@"), "%TEMP_DIR%() env");
  // A doubled marker is no escape when a later one follows.
  EXPECT_EQ(buildError("50%% of %X%()"), "Launch script error: Invalid function name (% of ).");
}

TEST_F(LaunchScriptTest, WrongArgumentCountsNameTheFunction) {
  for (const auto& [call, message] : std::vector<std::pair<std::string, std::string>>{
           {"REPLACE%(\"a\", \"b\")", "REPLACE function requires 3 arguments."},
           {"RUNTIME_SYSTEMPROP%(\"x\")", "RUNTIME_SYSTEMPROP function takes no arguments."},
           {"RUNTIME_JAVAARGS%(\"x\")", "RUNTIME_JAVAARGS function takes no arguments."},
           {"SYSTEMPROP%(\"a\")", "SYSTEMPROP function requires 2 arguments."},
           {"IF_EXISTS%(\"a\", \"b\", \"c\")", "IF_EXISTS function requires 2 arguments."},
           {"LAUNCHER_FILE%(\"x\")", "LAUNCHER_FILE function takes 0 arguments."},
           {"LAUNCHER_DIR%(\"x\")", "LAUNCHER_DIR function takes 0 arguments."},
           {"APPLICATION_ARCHIVE%(\"a\", \"b\")",
            "APPLICATION_ARCHIVE function takes 0 arguments."},
           {"TEMP_DIR%(\"x\")", "TEMP_DIR function takes 0 arguments."}})
    EXPECT_EQ(buildError("%" + call), "Launch script error: " + message);
  EXPECT_EQ(buildError("%CP%(\"a\", \"b\", \"c\", \"d\")"), "");
}

TEST_F(LaunchScriptTest, ArgumentListsAndTheirErrors) {
  EXPECT_EQ(build("%REPLACE% \t(\r\n\"b\" ,\n \"c\",\"abba\" , )! [%SYSTEMPROP%(\"a,b)\", "
                  "\"\"\"%%\"\"\")]"),
            "acca! [-Da,b)=\"%\"]");
  // A closing quote that ends the text completes the call.
  EXPECT_EQ(build("x %SYSTEMPROP%(\"a\", \"b\""), "x -Da=b");
  for (const auto& [command, message] : std::vector<std::pair<std::string, std::string>>{
           {"x %TEMP_DIR%", "Expected left parenthesis. (near character 12)"},
           {"%TEMP_DIR% x", "Expected left parenthesis. (near character 10)"},
           {"%CP%(\"a\" \"b\")", "Expected right parenthesis. (near character 8)"},
           {"%CP%(\"a\"   ", "Expected right parenthesis. (near character 8)"},
           {"%CP%( , \"a\")", "Expected string arg. (near character 5)"},
           {"%CP%(\"a\",  x)", "Expected string arg. (near character 9)"},
           {"%FOO%", "Invalid function name (FOO)."}})
    EXPECT_EQ(buildError(command), "Launch script error: " + message) << command;
  takeLog();
  EXPECT_EQ(buildError("%SYSTEMPROP%(\"a\", \"1\") %NOPE%()"),
            "Launch script error: Invalid function name (NOPE).");
  EXPECT_EQ(takeLog(), "Launch command:\n-Da=1 %NOPE%()\n");
  // An argument left open is reported as the argument reader words it, unlogged.
  EXPECT_EQ(buildError("%CP%(\"abc"), "Expected double quote to end argument near 6");
  EXPECT_EQ(buildError("%CP%(\"ab\"\""), "Expected double quote to end argument near -1");
  EXPECT_EQ(takeLog(), "");
}

TEST_F(LaunchScriptTest, ReplaceIfExistsAndTheLauncherPaths) {
  jvmTags_.setValue("FROM", "n");
  jvmTags_.setValue("INIT_JAVA_HEAP", "-Xms");
  jvmTags_.setValue("@NAME@", "literal");
  EXPECT_EQ(build("%REPLACE%(\"a\", \"aa\", \"banana\") %REPLACE%(\"@FROM@\", \"N\", \"banana\")"),
            "baanaanaa baNaNa");
  EXPECT_EQ(build("%REPLACE%(\"\", \"x\", \"abc\")"), "abc");  // an empty find changes nothing
  EXPECT_EQ(build("[%IF_EXISTS%(\"MAX_JAVA_HEAP\", \"@MAX_JAVA_HEAP@60m\")] "
                  "%IF_EXISTS%(\"INIT_JAVA_HEAP\", \"@INIT_JAVA_HEAP@20m\") "
                  "%IF_EXISTS%(\"@NAME@\", \"yes\")"),
            "[] -Xms20m yes");
  settings().launcherFile = "C:\\dist\\run.exe";
  settings().originalLauncherFile = "C:\\orig\\setup.exe";
  EXPECT_EQ(build("%LAUNCHER_FILE%()|%LAUNCHER_DIR%()"), "C:\\dist\\run.exe|C:\\orig");
  settings().originalLauncherFile = "setup.exe";
  EXPECT_EQ(build("[%LAUNCHER_DIR%()]"), "[]");
}

TEST_F(LaunchScriptTest, RunawayExpansionsEndWithAScriptError) {
  jvmTags_.setValue("LOOP", "@LOOP@");
  jvmTags_.setValue("GROW", std::string(1000, 'x') + "@GROW@");
  const std::string big(1100, 'a');
  TagFile recursive;
  recursive.setValue("COMMAND", "%CP%()");
  recursive.setValue("ARCHIVE", "%CP%()");
  LaunchScript nested(recursive);
  EXPECT_EQ(buildError("@LOOP@"),
            "Launch script error: Expansion of @ markers does not come to an end.");
  EXPECT_EQ(buildError("@GROW@"),
            "Launch script error: Expanded text is longer than 1048576 characters.");
  EXPECT_EQ(buildError("%REPLACE%(\"a\", \"" + big + "\", \"" + big + "\")"),
            "Launch script error: Expanded text is longer than 1048576 characters.");
  EXPECT_EQ(errorOf([&] { nested.buildCommand(jvm_); }),
            "Launch script error: Expansion of % markers is nested more than 16 deep.");
  // The JVM file is the script's only while it expands, failure or not.
  EXPECT_EQ(nested.jvmValue("CLASSPATH"), "");
}

TEST_F(LaunchScriptTest, ApplicationArchiveIsExtractedOnceAndRemembered) {
  useLauncher({{APPLICATION_ARCHIVE, "first.jar", "1"},
               {CLASSPATH_ARCHIVE, "lib.jar", "l"},
               {APPLICATION_ARCHIVE, "app.jar", "2"}});
  const std::string path = build("%APPLICATION_ARCHIVE%()");
  EXPECT_EQ(path, privateDir(0) + "app.jar");
  EXPECT_EQ(readWholeFile(privateDir(0) + "first.jar") + readWholeFile(path), "12");
  LaunchScript other("%APPLICATION_ARCHIVE%(\"other.jar\")", true, false);
  onTestLauncher(other);
  EXPECT_EQ(other.buildCommand(jvm_), path);
  EXPECT_EQ(testTemp().cleanupList().directories().size(), 1u);
}

TEST_F(LaunchScriptTest, ApplicationArchiveCopiedFromBesideTheLauncher) {
  useLauncher({});
  EXPECT_EQ(build("[%APPLICATION_ARCHIVE%()][%APPLICATION_ARCHIVE%(\"missing.jar\")]"), "[][]");
  std::string content;
  for (int i = 0; i < 10000; ++i)
    content += static_cast<char>(i * 7);  // several chunks, zero bytes too
  ASSERT_TRUE(std::filesystem::create_directory(dir_.file("lib")));
  writeWholeFile(dir_.file("lib/app.jar"), content);
  const std::string copied = build("%APPLICATION_ARCHIVE%(\"lib/app.jar\")");
  EXPECT_EQ(copied, privateDir(2) + "app.jar");
  EXPECT_EQ(readWholeFile(copied), content);
}

}  // namespace
