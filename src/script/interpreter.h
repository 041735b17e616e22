#pragma once
// The instruction script interpreter: runs the statements of a script's
// INSTRUCTIONS tag one by one (labels, comments, GOTO, JMP0, SET and the
// launcher commands), evaluating every argument before it is used.

#include <cstddef>
#include <cstdint>
#include <string>

#include "script/command_bodies.h"

class ScriptVariables;
class TagFile;

class InstructionInterpreter {
public:
  // Neither the script nor the variables (the run's) are owned; both must
  // outlive the interpreter.
  InstructionInterpreter(const TagFile& script, ScriptVariables& variables);

  // Runs from the first statement to the end; the result is the return value
  // of the last LAUNCH or ILAUNCH run, or 0 when none ran.
  int32_t execute(CommandBodies& bodies);

  // Reads every statement once, in order, as execute would, without
  // following jumps: a GOTO or JMP0 only needs its label to be there (one
  // made of variables is taken on trust), and SET assigns nothing. The
  // commands go to bodies, with arguments as fresh variables give them.
  // Throws InstructionsException for the first statement that could never
  // run, as execute would.
  void check(CommandBodies& bodies);

  // 0-based index of the statement being executed.
  int32_t currentLine() const { return currentLine_; }

  // Throws InstructionsException with the current statement's number.
  [[noreturn]] void raiseScriptError(const std::string& message) const;

  // Replaces `@name@` references by variable values, repeatedly, in place;
  // `@@` stands for one `@`.
  void substituteVariables(std::string& text, const std::string& context) const;

  int32_t evaluateNumber(const std::string& text, const std::string& context) const;
  int16_t evaluateShort(const std::string& text, const std::string& context) const;
  bool evaluateBoolean(const std::string& text, const std::string& context) const;
  // Unquotes (or cuts at the first blank) and substitutes, in place.
  void evaluateValue(std::string& text, const std::string& context) const;

  // Reads LAUNCH's JVM file word, which may be quoted and hold blanks; the
  // quotes stay in the result. position is left after the word.
  std::string readFileArgument(const std::string& line, size_t& position,
                               const std::string& context) const;

  // Index of the first statement that is exactly ":" + name (after
  // substitution).
  int32_t findLabel(const std::string& name) const;

private:
  // One statement being executed: its text, the reading position, and what
  // the commands need to reach.
  struct Statement {
    const std::string& text;
    size_t position;
    CommandBodies& bodies;
    int32_t& result;
  };
  using Command = void (InstructionInterpreter::*)(Statement&);

  static Command commandFor(const std::string& name);
  void jumpTo(const std::string& label);
  std::string nextArgument(Statement& statement, const char* missingMessage) const;

  void runFindJvm(Statement& statement);
  void runGoto(Statement& statement);
  void runIlaunch(Statement& statement);
  void runInitializeUi(Statement& statement);
  void runInstallJvm(Statement& statement);
  void runJmp0(Statement& statement);
  void runLaunch(Statement& statement);
  void runSet(Statement& statement);
  void runVerify(Statement& statement);
  void runExecuteLauncher(Statement& statement);

  const TagFile& script_;
  ScriptVariables& variables_;
  int32_t currentLine_ = 0;
  bool checking_ = false;  // check: jumps are looked at, not taken
};

// The front end's entry: -1 when there is no script to run; otherwise the
// script's result. A script error becomes a LauncherException
// "Error in instructions. <message> Line number (<n>)".
int32_t runInstructions(InstructionInterpreter* interpreter, CommandBodies& bodies);
