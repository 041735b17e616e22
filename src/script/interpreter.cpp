// The statement loop, the command table with its argument checks, labels and
// jumps, and the conversion of script errors for the front end.

#include "script/interpreter.h"

#include "base/exceptions.h"
#include "base/text.h"
#include "script/instructions_exception.h"
#include "script/variables.h"
#include "tagfile/tag_file.h"

namespace {

const char kInstructionsTag[] = "INSTRUCTIONS";

// JMP0's value has no missing-argument message of its own; this context
// prefixes its evaluation errors. The trailing blank keeps "Invalid numeric
// expression (...)" from running into the full stop.
const char kJmp0ValueContext[] = "Invalid value specified for JMP0 command. ";

const char kLaunchFileContext[] = "Invalid jvm file name specified in LAUNCH.";

// Worded like the other commands' messages: it names the argument and what
// it should hold, an entry's position in the file index (not a file id).
const char kExecuteLauncherMissing[] =
    "The first argument to EXECUTE_LAUNCHER should be the position of the embedded "
    "launcher in the file index.";

}  // namespace

InstructionInterpreter::InstructionInterpreter(const TagFile& script, ScriptVariables& variables)
    : script_(script), variables_(variables) {}

void InstructionInterpreter::raiseScriptError(const std::string& message) const {
  throw InstructionsException(message, currentLine_ + 1);
}

int32_t InstructionInterpreter::execute(CommandBodies& bodies) {
  const int32_t statementCount = script_.valueCount(kInstructionsTag);
  int32_t result = 0;
  for (currentLine_ = 0; currentLine_ < statementCount; ++currentLine_) {
    const std::string text = script_.value(kInstructionsTag, currentLine_);
    Statement statement{text, 0, bodies, result};
    const std::string word = readWord(text, statement.position);
    if (word.empty()) raiseScriptError("No command specified.");
    if (word[0] == ':' || word == "//") continue;
    const Command command = commandFor(word);
    if (command == nullptr) raiseScriptError("Invalid command (" + word + "). ");
    (this->*command)(statement);
  }
  return result;
}

void InstructionInterpreter::check(CommandBodies& bodies) {
  checking_ = true;
  try {
    execute(bodies);
  } catch (...) {
    checking_ = false;
    throw;
  }
  checking_ = false;
}

// Where a jump goes; while checking, only whether its label is there.
void InstructionInterpreter::jumpTo(const std::string& label) {
  if (checking_) {
    if (label.find('@') == std::string::npos) findLabel(label);
    return;
  }
  // The loop's increment then resumes after the label.
  currentLine_ = findLabel(label);
}

InstructionInterpreter::Command InstructionInterpreter::commandFor(const std::string& name) {
  static const struct {
    const char* name;
    Command command;
  } kCommands[] = {
      {"FIND_JVM", &InstructionInterpreter::runFindJvm},
      {"GOTO", &InstructionInterpreter::runGoto},
      {"ILAUNCH", &InstructionInterpreter::runIlaunch},
      {"INITIALIZE_UI", &InstructionInterpreter::runInitializeUi},
      {"INSTALL_JVM", &InstructionInterpreter::runInstallJvm},
      {"JMP0", &InstructionInterpreter::runJmp0},
      {"LAUNCH", &InstructionInterpreter::runLaunch},
      {"SET", &InstructionInterpreter::runSet},
      {"VERIFY", &InstructionInterpreter::runVerify},
      {"EXECUTE_LAUNCHER", &InstructionInterpreter::runExecuteLauncher},
  };
  for (const auto& entry : kCommands) {
    if (name == entry.name) return entry.command;
  }
  return nullptr;
}

std::string InstructionInterpreter::nextArgument(Statement& statement,
                                                 const char* missingMessage) const {
  std::string word = readWord(statement.text, statement.position);
  if (word.empty()) raiseScriptError(missingMessage);
  return word;
}

void InstructionInterpreter::runFindJvm(Statement& statement) {
  const bool showUi = evaluateBoolean(
      nextArgument(statement,
                   "The first argument to FIND_JVM should be a 1 if the UI should be displayed "
                   "or a 0 if the UI should be suppressed."),
      "");
  const bool showFailure = evaluateBoolean(
      nextArgument(statement,
                   "The second argument to FIND_JVM should be a 1 if a find failure message "
                   "should be displayed in a UI or 0 if no message should be displayed."),
      "");
  statement.bodies.doFindJvm(showUi, showFailure);
}

void InstructionInterpreter::runGoto(Statement& statement) {
  const std::string label =
      nextArgument(statement, "The GOTO command requires a label as its only argument.");
  jumpTo(label);
}

void InstructionInterpreter::runIlaunch(Statement& statement) {
  const int32_t jvmFileId = evaluateNumber(
      nextArgument(statement,
                   "The first argument to ILAUNCH should be the file index number of the jvm file."),
      "");
  const int16_t seconds = evaluateShort(
      nextArgument(statement,
                   "The second argument to ILAUNCH should be the number of seconds to display "
                   "the UI during the launch."),
      "");
  statement.result = statement.bodies.doLaunchInternal(jvmFileId, seconds);
}

void InstructionInterpreter::runInitializeUi(Statement& statement) {
  statement.bodies.doInitializeUi();
}

void InstructionInterpreter::runInstallJvm(Statement& statement) {
  static const char kMessage[] = "The first argument to INSTALL_JVM should be a 0, 1 or 2.";
  const int32_t mode = evaluateNumber(nextArgument(statement, kMessage), "");
  if (mode < 0 || mode > 2) raiseScriptError(kMessage);
  statement.bodies.doInstallJvm(mode);
}

void InstructionInterpreter::runJmp0(Statement& statement) {
  // A missing value is left to its evaluation, which reports an empty expression.
  const int32_t value = evaluateNumber(readWord(statement.text, statement.position),
                                       kJmp0ValueContext);
  const std::string label =
      nextArgument(statement, "JMP0 requires a jump label as its second argument.");
  if (value == 0 || checking_) jumpTo(label);
}

void InstructionInterpreter::runLaunch(Statement& statement) {
  std::string jvmFileName =
      readFileArgument(statement.text, statement.position, kLaunchFileContext);
  evaluateValue(jvmFileName, kLaunchFileContext);
  const int16_t seconds = evaluateShort(
      nextArgument(statement,
                   "The second argument to LAUNCH should be the number of seconds to display the "
                   "UI during the launch."),
      "");
  statement.result = statement.bodies.doLaunch(jvmFileName, seconds);
}

void InstructionInterpreter::runSet(Statement& statement) {
  std::string rest = statement.position < statement.text.size()
                         ? statement.text.substr(statement.position)
                         : std::string();
  trim(rest);
  const size_t equals = rest.find('=');
  if (equals == std::string::npos) raiseScriptError("SET statement is missing =.");
  std::string left = rest.substr(0, equals);
  std::string right = rest.substr(equals + 1);
  trim(left);
  trim(right);
  // These failures are launcher errors without a line; give them the line so
  // the script's author can find the faulty assignment.
  try {
    const VariableRef ref =
        parseVariableRef(left, "Invalid variable specified on left hand side of SET statement.");
    evaluateValue(right, "Invalid expression specified for SET command");
    // Whether the value reads as a number is the run's question: a check
    // does not know which values it will hold.
    if (!checking_) variables_.assign(ref, right, "Invalid value specified for SET command");
  } catch (const LauncherException& e) {
    raiseScriptError(e.message());
  }
}

void InstructionInterpreter::runVerify(Statement& statement) {
  const bool showUi = evaluateBoolean(
      nextArgument(statement,
                   "The first argument to VERIFY should be a 1 if the UI should be displayed or "
                   "a 0 if the UI should be suppressed."),
      "");
  const bool showFailure = evaluateBoolean(
      nextArgument(statement,
                   "The second argument to VERIFY should be a 1 if a find failure message should "
                   "be displayed in a UI or 0 if no message should be displayed."),
      "");
  const int32_t jvmFileId = evaluateNumber(
      nextArgument(statement,
                   "The third argument to VERIFY should be the file index number of the jvm file."),
      "");
  statement.bodies.doVerify(showUi, showFailure, jvmFileId);
}

void InstructionInterpreter::runExecuteLauncher(Statement& statement) {
  const int32_t position = evaluateNumber(nextArgument(statement, kExecuteLauncherMissing), "");
  statement.bodies.doExecuteLauncher(position);
}

std::string InstructionInterpreter::readFileArgument(const std::string& line, size_t& position,
                                                     const std::string& context) const {
  size_t pos = position;
  while (pos < line.size() && isSpace(line[pos])) ++pos;
  std::string word;
  if (pos >= line.size()) {
    position = pos;
    return word;
  }
  if (line[pos] != '"') {
    while (pos < line.size() && !isSpace(line[pos])) word += line[pos++];
    if (pos < line.size()) ++pos;  // the blank that ended the word
    position = pos;
    return word;
  }
  // Quoted: the closing quote is the last of a run of an odd number of
  // quotes; an even run is that many doubled quotes inside the value.
  word += line[pos++];
  int run = 0;
  bool closed = false;
  while (pos < line.size() && !closed) {
    const char c = line[pos++];
    word += c;
    if (c != '"') {
      run = 0;
      continue;
    }
    ++run;
    closed = run % 2 == 1 && (pos >= line.size() || line[pos] != '"');
  }
  position = pos;
  if (!closed) throw LauncherException("Expected ending quote in " + word + ":  " + context);
  return word;
}

int32_t InstructionInterpreter::findLabel(const std::string& name) const {
  std::string target = ":" + name;
  substituteVariables(target, "Invalid label specified.");
  if (target == ":")
    raiseScriptError("Label " + name + " resolved to a blank string. Labels cannot be blank.");
  const int32_t statementCount = script_.valueCount(kInstructionsTag);
  for (int32_t index = 0; index < statementCount; ++index) {
    if (script_.value(kInstructionsTag, index) == target) return index;
  }
  raiseScriptError("Label not found (" + name + ")");
}

int32_t runInstructions(InstructionInterpreter* interpreter, CommandBodies& bodies) {
  if (interpreter == nullptr) return -1;
  try {
    return interpreter->execute(bodies);
  } catch (const InstructionsException& e) {
    throw LauncherException("Error in instructions. " + e.message() + " Line number (" +
                            decimal(e.lineNumber()) + ")");
  }
}
