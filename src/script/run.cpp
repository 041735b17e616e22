#include "script/run.h"

#include "archive/index.h"
#include "script/interpreter.h"
#include "script/launcher_commands.h"

int32_t runInstructions() {
  LauncherCommands commands;
  return runInstructions(launcherArchive().instructionScript(), commands);
}
