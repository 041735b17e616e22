#pragma once
// The front end's entry into the instruction interpreter.

#include <cstdint>

// Runs the loaded instruction script with the launcher's commands; -1 when
// none is loaded. Throws LauncherException for an error in the script.
int32_t runInstructions();
