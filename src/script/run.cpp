// The front end's entry into the instruction interpreter.

#include "script/run.h"

#include "base/log.h"
#include "base/messages.h"
#include "base/settings.h"
#include "base/ui.h"
#include "script/interpreter.h"
#include "script/launcher_commands.h"

int32_t runInstructions(InstructionInterpreter* script, const CommandContext& context) {
  LauncherCommands commands(context);
  const int32_t result = runInstructions(script, commands);
  // A script that found no JVM and so launched nothing has not done its job,
  // and a caller must not take the run for a success.
  if (commands.endedWithoutAJvm()) {
    writeLog("The instructions ended without launching anything: no suitable JVM was found.",
             kLogError);
    // Silent hides the chatter, not why the run failed.
    if (settings().silent) ui::showFailure(messageText(kMsgNoSuitableJvm));
    return -1;
  }
  return result;
}
