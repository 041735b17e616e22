#include "script/run.h"

#include "archive/index.h"
#include "launcher/log.h"
#include "launcher/messages.h"
#include "launcher/settings.h"
#include "launcher/ui.h"
#include "script/interpreter.h"
#include "script/launcher_commands.h"

int32_t runInstructions() {
  LauncherCommands commands;
  const int32_t result = runInstructions(launcherArchive().instructionScript(), commands);
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
