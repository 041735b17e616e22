// The driver of one run: the launcher's options and the default run.
// Only portable code.

#include "launcher/driver.h"

#include <string>

#include "archive/extract.h"
#include "archive/index.h"
#include "base/exceptions.h"
#include "base/log.h"
#include "base/messages.h"
#include "base/settings.h"
#include "base/ui.h"
#include "launcher/actions.h"
#include "launcher/launcher_run.h"
#include "script/launcher_commands.h"
#include "script/run.h"
#include "temp/temp.h"

namespace {

const char kVersion[] = "2.51";

// Loads the index, turning a failure into text 16 followed by its cause.
void loadIndexOrThrow(LauncherRun& run, bool withScripts) {
  try {
    run.loadArchive(withScripts);
  } catch (const LauncherException& e) {
    throw LauncherException(messageText(kMsgUnableToLoadIndex) + e.message());
  }
}

void extractEverything(LauncherRun& run) {
  loadIndexOrThrow(run, false);
  try {
    extractAll(run.archive().fileIndex(), settings().replaceExtractedFiles);
  } catch (const LauncherException& e) {
    throw LauncherException(messageText(kMsgUnableToExtract) + e.message());
  }
}

}  // namespace

int32_t startLauncher(LauncherRun& run, const StringList& arguments,
                      const std::string& launcherPath) {
  LauncherSettings& s = settings();
  s.launcherFile = launcherPath;
  s.originalLauncherFile = launcherPath;
  for (const std::string& argument : arguments.items()) s.launcherArguments.append(argument);
  try {
    return processCommandLine(run, arguments);
  } catch (const LauncherException& e) {
    ui::showMessage(e.message());
    writeLog(e.message(), kLogError);
    return -1;
  }
}

int32_t processCommandLine(LauncherRun& run, const StringList& arguments) {
  LauncherSettings& s = settings();
  LaunchOptions& launch = run.launchOptions();
  ui::setProgress(0);
  const int32_t count = arguments.count();
  // A modifier of -qm:extract, wherever it stands.
  for (int32_t i = 0; i < count; ++i)
    if (arguments.get(i) == "-qm:force") s.replaceExtractedFiles = true;
  for (int32_t i = 0; i < count; ++i) {
    const std::string argument = arguments.get(i);
    const bool hasValue = i + 1 < count;
    if (argument == "-qm:log") {
      if (hasValue) {
        s.logFile = arguments.get(++i);
      } else {
        run.result = -1;
        ui::showMessage(messageText(kMsgLogFileMissing));
      }
    } else if (argument == "-qm:orig") {
      if (hasValue) {
        s.originalLauncherFile = arguments.get(++i);
        s.removeLauncherAtExit = true;
      } else {
        run.result = -1;
        ui::showMessage("Missing original launcher file name.");
      }
    } else if (argument == "-qm:tempdir") {
      if (hasValue) run.temp().setRoot(arguments.get(++i));
    } else if (argument == "-qm:silent") {
      ui::setSilent(true);
    } else if (argument == "-silent") {
      ui::setSilent(true);
      launch.passThroughArguments.append(argument);
    } else if (argument == "-qm:javahome") {
      if (hasValue) s.userJavaHome = arguments.get(++i);
    } else if (argument == "-qm:extract") {
      extractEverything(run);
      ui::setProgress(100);
      run.runInstructions = false;
    } else if (argument == "-qm:in") {
      if (hasValue) {
        processInputFile(arguments.get(++i), run);
      } else {
        ui::showMessage(messageText(kMsgInputFileMissing));
        run.result = -1;
        run.runInstructions = false;
      }
    } else if (argument == "-qm:version") {
      ui::showResult(kVersion);
      run.runInstructions = false;
    } else if (argument == "-qm:force") {
      // Read before the walk.
    } else if (argument == "-qm:noverifycache") {
      s.noVerifyCache = true;
    } else if (argument == "-qm:javaconsole") {
      launch.console = true;
    } else if (argument == "-console") {
      launch.console = true;
      launch.passThroughArguments.append(argument);
    } else if (argument == "-cp:p") {
      if (hasValue) launch.classPathPrepend = arguments.get(++i);
    } else if (argument == "-cp:a") {
      if (hasValue) launch.classPathAppend = arguments.get(++i);
    } else {
      launch.passThroughArguments.append(argument);
    }
  }
  if (run.runInstructions) {
    if (!run.archive().indexLoaded()) loadIndexOrThrow(run, true);
    // Without an archive (a download cut short) there is nothing to run.
    if (!run.archive().archiveFound() && !run.instructionScript())
      throw LauncherException(messageText(kMsgUnableToLoadIndex) +
                              damagedLauncherFileText(
                                  "its " + std::to_string(run.archive().fileSize()) +
                                  " bytes do not end with the launcher's archive."));
    run.result = runInstructions(run.instructionScript(), run.commandContext());
    ui::setProgress(100);
  }
  return run.result;
}
