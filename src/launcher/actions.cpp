// The input file of -qm:in and its actions. Only portable code.

#include "launcher/actions.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "base/exceptions.h"
#include "base/log.h"
#include "base/messages.h"
#include "base/settings.h"
#include "base/text.h"
#include "base/ui.h"
#include "jvm/jvm_match.h"
#include "jvm/jvm_search.h"
#include "launch/jvm_file.h"
#include "launcher/launcher_run.h"
#include "process/process_runner.h"
#include "script/launcher_commands.h"
#include "script/variables.h"
#include "tagfile/tag_file.h"
#include "temp/temp.h"

namespace {

// Reads the input file; a failure shows text 8 with its cause and raises the
// cause alone.
std::unique_ptr<TagFile> loadInput(const std::string& name) {
  try {
    if (name.empty()) throw LauncherException(messageText(kMsgUnableToOpenInputFile));
    std::string path = name;
    if (!path.empty() && path.front() == '"') path.erase(0, 1);
    if (!path.empty() && path.back() == '"') path.pop_back();
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) throw LauncherException(messageText(kMsgUnableToOpenInputFile));
    writeLog("Loading input file " + name);
    std::unique_ptr<TagFile> input(new TagFile);
    try {
      input->parse(file, name, 0, -1);
    } catch (...) {
      std::fclose(file);
      throw;
    }
    settings().logFile = input->value("LOGFILE", 0);
    std::fclose(file);
    return input;
  } catch (const LauncherException& e) {
    ui::showMessage(messageText(kMsgCouldNotLoadInputFile) + e.message());
    throw;
  }
}

void printNumber(int32_t number) { ui::writeResult(decimal(number)); }
void printText(const std::string& text) { ui::writeResult(text); }

void searchAction(LauncherRun& run, bool showProgress, bool showFailure) {
  try {
    LauncherCommands(run.commandContext()).doFindJvm(showProgress, showFailure);
    const ScriptVariables& found = run.variables();
    printNumber(found.getNumber(1));
    if (found.getNumber(1) != 0) {
      printText(found.getString(1));
      printText(found.getString(2));
      run.temp().forgetFile(found.getString(2));  // the caller reads it after this run
    }
  } catch (const LauncherException&) {
    // The search has logged and, when asked, shown its failure already.
  } catch (...) {
    writeLog("Unexpected failure in search.", kLogError);
  }
}

void searchAllAction(LauncherRun& run, bool showProgress, bool showFailure) {
  writeLog("Finding all matching JVMs");
  if (showProgress) {
    ui::setStatus(ui::kStatusSearching);
    ui::showProgress();
  } else {
    ui::hideProgress(0);
  }
  try {
    std::vector<std::unique_ptr<JvmMatch>> matches;
    run.jvmSearch().findAllJvms(matches, false);
    // Each match's description is written first, so that a failure cannot
    // leave a count on standard output without its lines.
    std::vector<std::string> homes;
    std::vector<std::string> paths;
    for (const std::unique_ptr<JvmMatch>& match : matches) {
      const std::string path = match->writeJvmFile(run.temp());
      if (path.empty()) {
        // The caller could not use a match without its file.
        writeLog(unrecordedMatchText(match->home()), kLogError);
        continue;
      }
      homes.push_back(match->home());
      paths.push_back(path);
    }
    printNumber(static_cast<int32_t>(paths.size()));
    for (size_t i = 0; i < paths.size(); ++i) {
      run.temp().forgetFile(paths[i]);
      printText(homes[i]);
      printText(paths[i]);
    }
  } catch (const LauncherException& e) {
    const std::string text = messageText(kMsgUnableToSearchAll) + e.message();
    writeLog(text, kLogError);
    if (showFailure) ui::showMessage(text);
    printNumber(0);
  }
}

void verifyJvmAction(LauncherRun& run, bool showProgress, bool showFailure,
                     const std::string& jvmFileName, const std::string& javaHome) {
  TagFile tagFile(jvmFileName);
  JvmFile jvmFile(tagFile, jvmFileName);
  LauncherCommands(run.commandContext()).verifyJvm(showProgress, showFailure, jvmFile, javaHome);
  printNumber(run.variables().getNumber(1));
}

void installJvmAction(bool showProgress, const std::string& installer,
                      const std::string& destination) {
  ProcessRequest request;
  request.commandLine = installer;
  request.workingDirectory = destination;
  request.showConsole = showProgress;
  runProcess(request);
  const std::string path = ensureTrailingSeparator(destination) + "jvm";
  TagFile jvm(path);
  jvm.setJvmLocation(destination, path, false);
  if (const int error = jvm.write(path)) throw LauncherException(writeFailureText(error));
  printText(path);
}

}  // namespace

void processInputFile(const std::string& name, LauncherRun& run) {
  std::unique_ptr<TagFile> input = loadInput(name);

  try {
    run.loadInputFile(*input);
  } catch (const LauncherException& e) {
    ui::showMessage(e.message());
    throw;
  }
  try {
    run.loadArchive(true);
  } catch (const LauncherException& e) {
    throw LauncherException(messageText(kMsgUnableToLoadIndex) + e.message());
  }

  const bool showProgress = input->flag("SHOW_PROGRESS", false);
  const bool showFailure = input->flag("SHOW_FAIL_MSG", false);
  if (!showProgress && !showFailure) {
    ui::hideProgress(0);
  } else {
    ui::showProgress();
    if (showProgress) ui::setProgress(0);
  }

  const std::string action = input->value("ACTION", 0);
  if (action == "RUN_INSTRUCTIONS") {
    run.runInstructions = true;
  } else if (action == "SEARCH") {
    searchAction(run, showProgress, showFailure);
    ui::setProgress(100);
    run.runInstructions = false;
  } else if (action == "SEARCH_ALL") {
    searchAllAction(run, showProgress, showFailure);
    ui::setProgress(100);
    run.runInstructions = false;
  } else if (action == "VERIFY_JVM") {
    const std::string jvmFile = input->value("VERIFY_JVM_FILE", 0);
    const std::string javaHome = input->value("VERIFY_JVM_HOME", 0);
    if (jvmFile.empty() || javaHome.empty()) {
      writeLog("TO execute the VERIFY_JVM action, you must also provide values in the input file "
               "for VERIFY_JVM_FILE and VERIFY_JVM_HOME.",
               kLogError);
      run.result = -1;
    } else {
      verifyJvmAction(run, showProgress, showFailure, jvmFile, javaHome);
      ui::setProgress(100);
    }
    run.runInstructions = false;
  } else if (action == "INSTALL_JVM") {
    const std::string installer = input->value("INSTALL_JVM_EXE", 0);
    const std::string destination = input->value("INSTALL_JVM_DEST", 0);
    if (!installer.empty() && !destination.empty())
      installJvmAction(showProgress, installer, destination);
    ui::setProgress(100);
    run.runInstructions = false;
  } else {
    const std::string message = messageText(kMsgInvalidAction) + action;
    ui::showMessage(message);
    throw LauncherException(message);
  }
}
