// The input file of -qm:in and its actions. Only portable code.

#include "launcher/actions.h"

#include <cstdio>
#include <memory>

#include "archive/index.h"
#include "launcher/driver.h"
#include "launcher/exceptions.h"
#include "launcher/log.h"
#include "launcher/messages.h"
#include "launcher/settings.h"
#include "launcher/ui.h"
#include "tagfile/tag_file.h"

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

// The service actions need the JVM search and the launcher commands.
[[noreturn]] void actionNotAvailable(const std::string& action) {
  throw LauncherException("The " + action +
                          " action is not available in this build of the launcher.");
}

}  // namespace

void processInputFile(const std::string& name, DriverRun& run) {
  std::unique_ptr<TagFile> input = loadInput(name);

  try {
    launcherArchive().loadInputFile(*input);
  } catch (const LauncherException& e) {
    ui::showMessage(e.message());
    throw;
  }
  try {
    launcherArchive().loadIndex(true);
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
  } else if (action == "SEARCH" || action == "SEARCH_ALL") {
    actionNotAvailable(action);
  } else if (action == "VERIFY_JVM") {
    if (input->value("VERIFY_JVM_FILE", 0).empty() || input->value("VERIFY_JVM_HOME", 0).empty()) {
      writeLog("TO execute the VERIFY_JVM action, you must also provide values in the input file "
               "for VERIFY_JVM_FILE and VERIFY_JVM_HOME.",
               kLogError);
      run.result = -1;
    } else {
      actionNotAvailable(action);
    }
    run.runInstructions = false;
  } else if (action == "INSTALL_JVM") {
    if (!input->value("INSTALL_JVM_EXE", 0).empty() && !input->value("INSTALL_JVM_DEST", 0).empty())
      actionNotAvailable(action);
    ui::setProgress(100);
    run.runInstructions = false;
  } else {
    const std::string message = messageText(kMsgInvalidAction) + action;
    ui::showMessage(message);
    throw LauncherException(message);
  }
}
