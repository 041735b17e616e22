#pragma once
// The front end's entry into the instruction interpreter.

#include <cstdint>

class InstructionInterpreter;
struct CommandContext;

// Runs the instruction script with the launcher's commands acting on
// context; -1 when there is no script. Throws LauncherException for an
// error in the script.
int32_t runInstructions(InstructionInterpreter* script, const CommandContext& context);
