// The interpreter: expression evaluation, statements, jumps, the command
// table's argument checks and the reporting of script errors.

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "script/command_bodies.h"
#include "script/instructions_exception.h"
#include "script/interpreter.h"
#include "script/variables.h"
#include "tagfile/tag_file.h"
#include "test_support.h"

namespace {

// Records every body call with its arguments. FIND_JVM reports `jvmFound` in
// N1 and, when found, paths in S1 and S2 as the real body does; launches
// return `launchResults` in turn, then 0.
class RecordingBodies : public CommandBodies {
public:
  explicit RecordingBodies(ScriptVariables& variables) : variables_(&variables) {}
  std::vector<std::string> calls;
  bool jvmFound = true;
  std::deque<int32_t> launchResults;
  bool throwFromBody = false;

  void doFindJvm(bool showUi, bool showFailure) override {
    record("FIND_JVM " + flag(showUi) + " " + flag(showFailure));
    variables_->setNumber(1, jvmFound ? 1 : 0);
    if (jvmFound) {
      variables_->setString(1, "C:\\Program Files\\jre");
      variables_->setString(2, "C:\\Temp\\LRE1\\jvm file");
    }
  }
  int32_t doLaunchInternal(int32_t jvmFileId, int16_t seconds) override {
    record("ILAUNCH " + std::to_string(jvmFileId) + " " + std::to_string(seconds));
    return nextResult();
  }
  void doInitializeUi() override { record("INITIALIZE_UI"); }
  void doInstallJvm(int32_t mode) override { record("INSTALL_JVM " + std::to_string(mode)); }
  int32_t doLaunch(const std::string& jvmFileName, int16_t seconds) override {
    record("LAUNCH <" + jvmFileName + "> " + std::to_string(seconds));
    return nextResult();
  }
  void doVerify(bool showUi, bool showFailure, int32_t jvmFileId) override {
    record("VERIFY " + flag(showUi) + " " + flag(showFailure) + " " + std::to_string(jvmFileId));
  }
  void doExecuteLauncher(int32_t position) override {
    record("EXECUTE_LAUNCHER " + std::to_string(position));
  }

private:
  static std::string flag(bool value) { return value ? "1" : "0"; }
  ScriptVariables* variables_;
  int32_t nextResult() {
    if (launchResults.empty()) return 0;
    const int32_t result = launchResults.front();
    launchResults.pop_front();
    return result;
  }
  void record(const std::string& call) {
    calls.push_back(call);
    if (throwFromBody) throw LauncherException("body failed");
  }
};

using Lines = std::initializer_list<const char*>;
using Calls = std::vector<std::string>;

class InterpreterTest : public ::testing::Test {
protected:
  int32_t run(Lines lines) {
    script_ = TagFile();
    script_.setValue("DESC", "test script");
    for (const char* line : lines) script_.addValue("INSTRUCTIONS", line);
    InstructionInterpreter interpreter(script_, vars_);
    return runInstructions(&interpreter, bodies_);
  }

  std::string failure(Lines lines) {
    return thrownMessage([&] { run(lines); });
  }

  // A script error raised by a direct call, as "message|line".
  template <typename Call>
  static std::string scriptError(Call call) {
    try {
      call();
    } catch (const InstructionsException& e) {
      return e.message() + "|" + std::to_string(e.lineNumber());
    } catch (const LauncherException& e) {
      return "launcher: " + e.message();
    }
    return "(no error)";
  }

  std::string substituted(std::string text) {
    interpreter_.substituteVariables(text, "ctx");
    return text;
  }
  std::string value(std::string text) {
    interpreter_.evaluateValue(text, "ctx");
    return text;
  }

  ScriptVariables vars_;
  TagFile script_;
  RecordingBodies bodies_{vars_};
  TagFile emptyScript_;
  InstructionInterpreter interpreter_{emptyScript_, vars_};
};

const char kSample[][32] = {"INITIALIZE_UI",         "FIND_JVM 1 1",      "JMP0 @N1@ DO_FIND_ELSE",
                            "LAUNCH @S2@ 0",         "GOTO DO_FIND_DONE", ":DO_FIND_ELSE",
                            ":DO_FIND_DONE"};

// ---- Expressions ----

TEST_F(InterpreterTest, SubstitutionReplacesReferencesAndCollapsesDoubledAt) {
  EXPECT_EQ(substituted("[@S1@][@N1@]"), "[][0]");
  vars_.setNumber(1, -3);
  vars_.setString(2, "x@S3@");
  vars_.setString(3, "y");
  EXPECT_EQ(substituted("@n1@/@N1@"), "-3/-3");
  EXPECT_EQ(substituted("a@@b"), "a@b");
  EXPECT_EQ(substituted("no references"), "no references");
  EXPECT_EQ(substituted("<@S2@>"), "<xy>");
}

TEST_F(InterpreterTest, SubstitutionFailuresNameTheirFault) {
  vars_.setNumber(1, 5);
  const std::string unpaired = "ctx Invalid variable specification.|1";
  EXPECT_EQ(scriptError([&] { substituted(""); }), "ctx Empty expression.|1");
  EXPECT_EQ(scriptError([&] { substituted("a@b"); }), unpaired);
  EXPECT_EQ(scriptError([&] { substituted("@@@N1@"); }), unpaired);
  EXPECT_EQ(scriptError([&] { substituted("@N6@"); }),
            "launcher: ctx Variable number is invalid (6)");
}

// A value inserted by a replacement is read in the next pass, never scanned
// from its second character on.
TEST_F(InterpreterTest, ValuesThatStartWithReferencesOrAreEmptyExpandFully) {
  vars_.setString(1, "@S2@");
  vars_.setString(2, "end");
  EXPECT_EQ(substituted("@S1@"), "end");
  EXPECT_EQ(substituted("@S3@@S2@"), "end");
}

// A path the launcher found (a temp directory holding @) is data.
TEST_F(InterpreterTest, FoundPathsAreInsertedAsTheyAre) {
  vars_.setFoundPath(2, "/tmp/a@S1@b@@c@");
  vars_.setString(3, "@S2@");
  EXPECT_EQ(substituted("<@S3@>"), "</tmp/a@S1@b@@c@>");
}

TEST_F(InterpreterTest, SelfReferencingValuesStopWithAScriptError) {
  const std::string tooDeep = "ctx Variable references nest too deeply.|1";
  vars_.setString(1, "@S1@");
  EXPECT_EQ(scriptError([&] { substituted("@S1@"); }), tooDeep);
  vars_.setString(1, "@S2@");
  vars_.setString(2, "x@S1@");
  EXPECT_EQ(scriptError([&] { substituted("@S1@"); }), tooDeep);
  vars_.setString(1, "@S1@@S1@");
  EXPECT_EQ(scriptError([&] { substituted("@S1@"); }),
            "ctx Variable references expand to a text that is too long.|1");
  EXPECT_EQ(failure({"SET S4 = @@S4@@", "INITIALIZE_UI", "JMP0 @S4@ L"}),
            "Error in instructions. Invalid value specified for JMP0 command.  Variable "
            "references nest too deeply. Line number (3)");
}

TEST_F(InterpreterTest, NumbersAndShortsReadOneLiteralAfterSubstitution) {
  vars_.setString(1, "pears");
  EXPECT_EQ(interpreter_.evaluateNumber("12 apples", "ctx"), 12);
  EXPECT_EQ(scriptError([&] { interpreter_.evaluateNumber("@S1@", "ctx"); }),
            "ctxInvalid numeric expression (pears)|1");
  EXPECT_EQ(interpreter_.evaluateShort("70000", "ctx"), 4464);
  EXPECT_EQ(interpreter_.evaluateShort("32768", "ctx"), -32768);
  EXPECT_EQ(scriptError([&] { interpreter_.evaluateShort("@S1@", "ctx"); }),
            "ctx Invalid numeric expression (pears)|1");
}

TEST_F(InterpreterTest, BooleansAreZeroOrOne) {
  vars_.setNumber(1, -3);
  EXPECT_FALSE(interpreter_.evaluateBoolean("0", "ctx"));
  EXPECT_TRUE(interpreter_.evaluateBoolean("1", "ctx"));
  EXPECT_EQ(scriptError([&] { interpreter_.evaluateBoolean("@N1@", "ctx"); }),
            "ctx Invalid boolean value (@N1@)|1");
  EXPECT_EQ(scriptError([&] { interpreter_.evaluateBoolean("yes", "ctx"); }),
            "ctxInvalid numeric expression (yes)|1");
}

TEST_F(InterpreterTest, ValuesAreUnquotedOrCutAtTheFirstBlankThenSubstituted) {
  vars_.setString(1, "a");
  vars_.setString(2, "b");
  EXPECT_EQ(value(""), "");
  EXPECT_EQ(value("\"a \"\"b\"\" c\" dropped"), "a \"b\" c");
  EXPECT_EQ(value("hello world"), "hello");
  EXPECT_EQ(value("\"@S1@ and @S2@\""), "a and b");
  EXPECT_EQ(scriptError([&] { value("\"\""); }), "ctx Empty expression.|1");
  EXPECT_EQ(scriptError([&] { value("\"open"); }),
            "launcher: Expected double quote to end argument near 1");
}

TEST_F(InterpreterTest, FileArgumentKeepsQuotedBlanksAndDoubledQuotes) {
  size_t position = 6;
  const std::string line = "LAUNCH  \"C:\\a b\\\"\"q\"\"\"x 5";
  EXPECT_EQ(interpreter_.readFileArgument(line, position, "ctx"), "\"C:\\a b\\\"\"q\"\"\"");
  EXPECT_EQ(line.substr(position), "x 5");
  position = 0;
  EXPECT_EQ(interpreter_.readFileArgument("plain\tnext", position, "ctx"), "plain");
  EXPECT_EQ(position, 6u);
  position = 0;
  EXPECT_EQ(scriptError([&] { interpreter_.readFileArgument(" \"a \"\" b", position, "ctx"); }),
            "launcher: Expected ending quote in \"a \"\" b:  ctx");
}

// ---- Statements and jumps ----

TEST_F(InterpreterTest, NoScriptOrNoStatementsRunNothing) {
  EXPECT_EQ(runInstructions(nullptr, bodies_), -1);
  script_.setValue("DESC", "no instructions");
  InstructionInterpreter interpreter(script_, vars_);
  EXPECT_EQ(runInstructions(&interpreter, bodies_), 0);
  EXPECT_TRUE(bodies_.calls.empty());
}

TEST_F(InterpreterTest, SampleScriptLaunchesOnlyWhenAJvmIsFound) {
  for (bool found : {true, false}) {
    vars_ = ScriptVariables();
    bodies_ = RecordingBodies(vars_);
    bodies_.jvmFound = found;
    bodies_.launchResults = {17};
    script_ = TagFile();
    for (const char* line : kSample) script_.addValue("INSTRUCTIONS", line);
    InstructionInterpreter interpreter(script_, vars_);
    const int32_t result = runInstructions(&interpreter, bodies_);
    if (found) {
      EXPECT_EQ(bodies_.calls, (Calls{"INITIALIZE_UI", "FIND_JVM 1 1",
                                      "LAUNCH <C:\\Temp\\LRE1\\jvm file> 0"}));
      EXPECT_EQ(result, 17);
    } else {
      EXPECT_EQ(bodies_.calls, (Calls{"INITIALIZE_UI", "FIND_JVM 1 1"}));
      EXPECT_EQ(result, 0);
    }
  }
}

TEST_F(InterpreterTest, JumpsGoBackwardsAndForwardsToTheFirstMatchingLabel) {
  run({":TOP", "INITIALIZE_UI", "JMP0 @N2@ SECOND", "GOTO END", ":SECOND", "SET N2 = 1",
       "GOTO TOP", ":END"});
  EXPECT_EQ(bodies_.calls, (Calls{"INITIALIZE_UI", "INITIALIZE_UI"}));
  bodies_.calls.clear();
  run({"SET S1 = L", "GOTO @S1@", "INSTALL_JVM 1", ":L", "INSTALL_JVM 0", ":L", "INSTALL_JVM 2"});
  EXPECT_EQ(bodies_.calls, (Calls{"INSTALL_JVM 0", "INSTALL_JVM 2"}));
}

TEST_F(InterpreterTest, Jmp0JumpsOnlyOnZero) {
  run({"JMP0 0 L", "INSTALL_JVM 0", ":L", "JMP0 1 UNDEFINED", "JMP0 -1 UNDEFINED",
       "SET N2 = 42", "JMP0 @N2@ M", "INSTALL_JVM 1", ":M"});
  EXPECT_EQ(bodies_.calls, (Calls{"INSTALL_JVM 1"}));
}

TEST_F(InterpreterTest, CommentsAndLabelLinesAreNotExamined) {
  run({"// FIND_JVM 1 1", ":L FIND_JVM 1 1", "INITIALIZE_UI trailing words"});
  EXPECT_EQ(bodies_.calls, (Calls{"INITIALIZE_UI"}));
}

TEST_F(InterpreterTest, SetAssignsTheEvaluatedRightHandSide) {
  vars_.setString(3, "kept");
  run({"SET S1 = \"a b\"", "SET S2 = a b", "SET s3 =", "SET S4=x=y", "SET N1 = -12abc",
       "SET S5 = @S1@+@N1@"});
  EXPECT_EQ(vars_.getString(1), "a b");
  EXPECT_EQ(vars_.getString(2), "a");
  EXPECT_EQ(vars_.getString(3), "");
  EXPECT_EQ(vars_.getString(4), "x=y");
  EXPECT_EQ(vars_.getNumber(1), -12);
  EXPECT_EQ(vars_.getString(5), "a b+-12");
}

TEST_F(InterpreterTest, CommandsReceiveTheirEvaluatedArguments) {
  bodies_.launchResults = {9, 10, 11};
  vars_.setNumber(2, 4);
  vars_.setString(3, "C:\\my jvm");
  const int32_t result = run({"FIND_JVM 0 1 ignored", "VERIFY 1 0 @N2@",
                              "LAUNCH \"C:\\a \"\"b\"\"\" 7", "LAUNCH @S3@ 65537",
                              "ILAUNCH 3 -5", "INSTALL_JVM 2", "EXECUTE_LAUNCHER @N2@"});
  EXPECT_EQ(bodies_.calls,
            (Calls{"FIND_JVM 0 1", "VERIFY 1 0 4", "LAUNCH <C:\\a \"b\"> 7",
                   "LAUNCH <C:\\my jvm> 1", "ILAUNCH 3 -5", "INSTALL_JVM 2", "EXECUTE_LAUNCHER 4"}));
  EXPECT_EQ(result, 11);
}

TEST_F(InterpreterTest, ScriptErrorsCarryTheStatementNumber) {
  const std::string prefix = "Error in instructions. ";
  const struct {
    Lines lines;
    const char* message;
  } cases[] = {
      {{"// ok", ""}, "No command specified."},
      {{"find_jvm 1 1"}, "Invalid command (find_jvm). "},
      {{"// ok", "//note"}, "Invalid command (//note). "},
      {{"FIND_JVM"}, "The first argument to FIND_JVM should be a 1 if the UI should be displayed or a 0 if the UI should be suppressed."},
      {{"FIND_JVM 1"}, "The second argument to FIND_JVM should be a 1 if a find failure message should be displayed in a UI or 0 if no message should be displayed."},
      {{"FIND_JVM 2"}, " Invalid boolean value (2)"},
      {{"GOTO"}, "The GOTO command requires a label as its only argument."},
      {{":XY", ": X", "GOTO X"}, "Label not found (X)"},
      {{"GOTO @S9@"}, "Label @S9@ resolved to a blank string. Labels cannot be blank."},
      {{"ILAUNCH"}, "The first argument to ILAUNCH should be the file index number of the jvm file."},
      {{"ILAUNCH x 1"}, "Invalid numeric expression (x)"},
      {{"ILAUNCH 1"}, "The second argument to ILAUNCH should be the number of seconds to display the UI during the launch."},
      {{"ILAUNCH 1 s"}, " Invalid numeric expression (s)"},
      {{"INSTALL_JVM"}, "The first argument to INSTALL_JVM should be a 0, 1 or 2."},
      {{"INSTALL_JVM 3"}, "The first argument to INSTALL_JVM should be a 0, 1 or 2."},
      {{"JMP0"}, "Invalid value specified for JMP0 command.  Empty expression."},
      {{"JMP0 a L"}, "Invalid value specified for JMP0 command. Invalid numeric expression (a)"},
      {{"JMP0 0"}, "JMP0 requires a jump label as its second argument."},
      {{"LAUNCH"}, "The second argument to LAUNCH should be the number of seconds to display the UI during the launch."},
      {{"LAUNCH \"\" 0"}, "Invalid jvm file name specified in LAUNCH. Empty expression."},
      {{"SET S1 x"}, "SET statement is missing =."},
      {{"SET N1 = x"}, "Invalid value specified for SET command Invalid numeric expression in x"},
      {{"SET X1 = 1"}, "Invalid variable specified on left hand side of SET statement. Invalid variable reference (X1). Must use N or S as the variable type, e.g. N2 or S1."},
      {{"SET @S1@ = 1"}, "Invalid variable specified on left hand side of SET statement. Invalid variable reference (@S1@). Must use N or S as the variable type, e.g. N2 or S1."},
      {{"SET S1 = @N7@"}, "Invalid expression specified for SET command Variable number is invalid (7)"},
      {{"SET S1 = a@"}, "Invalid expression specified for SET command Invalid variable specification."},
      {{"SET S1 = \"open"}, "Expected double quote to end argument near 1"},
      {{"VERIFY"}, "The first argument to VERIFY should be a 1 if the UI should be displayed or a 0 if the UI should be suppressed."},
      {{"VERIFY 1"}, "The second argument to VERIFY should be a 1 if a find failure message should be displayed in a UI or 0 if no message should be displayed."},
      {{"VERIFY 1 0"}, "The third argument to VERIFY should be the file index number of the jvm file."},
      {{"EXECUTE_LAUNCHER"}, "The first argument to EXECUTE_LAUNCHER should be the position of the embedded launcher in the file index."},
  };
  for (const auto& c : cases) {
    vars_ = ScriptVariables();
    const std::string line = std::to_string(c.lines.size());
    EXPECT_EQ(failure(c.lines), prefix + c.message + " Line number (" + line + ")") << c.message;
  }
  EXPECT_TRUE(bodies_.calls.empty());
}

// Outside SET, launcher errors keep their own text and have no line number.
TEST_F(InterpreterTest, LauncherErrorsPassThroughUnchangedAndStopTheScript) {
  EXPECT_EQ(failure({"FIND_JVM @X1@ 1"}),
            " Invalid variable reference (X1). Must use N or S as the variable type, e.g. N2 or S1.");
  EXPECT_EQ(failure({"LAUNCH \"C:\\a b 0"}),
            "Expected ending quote in \"C:\\a b 0:  Invalid jvm file name specified in LAUNCH.");
  EXPECT_EQ(failure({"GOTO @Q@"}),
            "Invalid label specified. Variable references must be at least 2 characters (e.g. N1 and S10).");
  bodies_.throwFromBody = true;
  EXPECT_EQ(failure({"SET S1 = before", "INITIALIZE_UI", "SET S1 = after"}), "body failed");
  EXPECT_EQ(vars_.getString(1), "before");
}

}  // namespace
