// The launcher command bodies. Only portable code.

#include "script/launcher_commands.h"

#include <memory>
#include <vector>

#include "archive/extract.h"
#include "archive/index.h"
#include "base/command_line.h"
#include "base/exceptions.h"
#include "base/log.h"
#include "base/messages.h"
#include "base/settings.h"
#include "base/text.h"
#include "base/ui.h"
#include "jvm/jvm_match.h"
#include "jvm/jvm_search.h"
#include "launch/execute_launch.h"
#include "launch/jvm_file.h"
#include "launch/launch_script.h"
#include "launch/pass_through.h"
#include "os/file_system.h"
#include "process/process_runner.h"
#include "script/variables.h"
#include "tagfile/tag_file.h"
#include "temp/temp.h"

namespace {

const FileEntry* jvmEntry(const FileIndex& index, int32_t id) {
  const FileEntry* entry = index.findEntryById(id);
  return entry && entry->type == JVM && entry->tagFile ? entry : nullptr;
}

// Steps shared by LAUNCH and ILAUNCH once the JVM file is known.
int32_t launchWith(LaunchScript& script, JvmFile& jvmFile, int16_t seconds) {
  if (seconds > 0) {
    ui::setStatus(ui::kStatusRunning);
    ui::setStatusDetail(ui::kDetailNone, std::string());
  }
  ui::hideProgress(seconds);
  const LaunchOptions& options = script.context().options;
  return executeLaunch(script, jvmFile, options.passThroughArguments, options.console);
}

void showSearchProgress(bool showUi) {
  if (showUi) {
    ui::setStatus(ui::kStatusSearching);
    ui::showProgress();
  } else {
    ui::hideProgress(0);
  }
}

}  // namespace

void LauncherCommands::doInitializeUi() {
  ui::setStatus(ui::kStatusInitializing);
  ui::setStatusDetail(ui::kDetailNone, std::string());
  ui::showProgress();
}

void LauncherCommands::doFindJvm(bool showUi, bool showFailure) {
  searchFailed_ = true;
  writeLog("Finding a JVM");
  showSearchProgress(showUi);
  context_.variables.setString(1, std::string());
  context_.variables.setString(2, std::string());
  context_.variables.setNumber(1, 0);
  std::vector<std::unique_ptr<JvmMatch>> results;
  try {
    context_.jvmSearch.findJvm(results);
  } catch (const LauncherException& e) {
    const std::string text = messageText(kMsgNoSuitableJvm) + " " + e.message();
    writeLog(text, kLogError);
    if (showFailure) ui::showMessage(text);
    throw LauncherException(e.message());
  }
  if (results.empty()) {
    const std::string text = messageText(kMsgNoSuitableJvm);
    writeLog(text);
    if (showFailure) ui::showMessage(text);
    return;
  }
  const JvmMatch& match = *results.front();
  const std::string path = match.writeJvmFile(context_.temp);
  const std::string home = match.home();
  if (path.empty()) {
    // Without its file the match cannot be launched: the search has failed.
    writeLog(unrecordedMatchText(home), kLogError);
    if (showFailure) ui::showMessage(messageText(kMsgNoSuitableJvm));
    return;
  }
  writeLog("Matching JVM home is " + home);
  writeLog("Matching JVM file is " + path);
  context_.variables.setFoundPath(1, home);
  context_.variables.setFoundPath(2, path);
  context_.variables.setNumber(1, 1);
  searchFailed_ = false;
}

void LauncherCommands::doVerify(bool showUi, bool showFailure, int32_t jvmFileId) {
  showSearchProgress(showUi);
  const FileEntry* entry = context_.launcherEntries.findEntryById(jvmFileId);
  if (!entry) {
    throw LauncherException("Cannot verify jvm file at index " + decimal(jvmFileId) +
                            " because it does not exist.");
  }
  if (entry->type != JVM) {
    throw LauncherException(
        "To verify a JVM, use an index of a jvm file. The index passed in was " +
        decimal(jvmFileId) + " which corresponds to the file named " + entry->name());
  }
  if (!entry->tagFile) {
    throw LauncherException("The jvm file with file id " + decimal(jvmFileId) +
                            " could not be read.");
  }
  JvmFile jvmFile(*entry->tagFile, entry->name());
  verifyJvm(showUi, showFailure, jvmFile, settings().userJavaHome);
  searchFailed_ = context_.variables.getNumber(1) == 0;
}

void LauncherCommands::verifyJvm(bool showUi, bool showFailure, JvmFile& jvmFile,
                                 const std::string& javaHome) {
  JvmSearch& search = context_.jvmSearch;
  context_.variables.setNumber(1, 0);
  if (showUi) ui::setStatusDetail(ui::kDetailVerifying, jvmFile.tagFile().value("DESC", 0));
  const VerifierSource& verifier = search.verifier();
  JvmFileSearch fileSearch(jvmFile, &search.verificationCache(), search.launchContext());
  std::unique_ptr<JvmMatch> match = javaHome.empty()
                                        ? fileSearch.verifyOwnHome(verifier)
                                        : fileSearch.checkCandidate(javaHome, verifier);
  if (match) {
    const std::string home = jvmFile.tagFile().value("JVM_HOME", 0);
    context_.variables.setNumber(1, 1);
    context_.variables.setFoundPath(1, home);
    writeLog("After VERIFY, the jvm home is " + home);
  } else {
    if (showFailure) ui::showMessage(messageText(kMsgJvmNotValid));
    writeLog("In VERIFY, the jvm is invalid.");
  }
}

int32_t LauncherCommands::doLaunch(const std::string& jvmFileName, int16_t seconds) {
  launched_ = true;
  LaunchScript* script = context_.launchScript;
  if (!script) return -1;
  TagFile tagFile(jvmFileName);
  JvmFile jvmFile(tagFile, jvmFileName);
  return launchWith(*script, jvmFile, seconds);
}

int32_t LauncherCommands::doLaunchInternal(int32_t jvmFileId, int16_t seconds) {
  launched_ = true;
  LaunchScript* script = context_.launchScript;
  const FileEntry* entry = jvmEntry(context_.launcherEntries, jvmFileId);
  if (!script || !entry) {
    writeLog("Unable to launch the internal launch script with the internal JVM file. Either "
             "the launch script or the JVM file is missing from the launcher.",
             kLogError);
    return -1;
  }
  JvmFile jvmFile(*entry->tagFile, entry->name());
  return launchWith(*script, jvmFile, seconds);
}

void LauncherCommands::doInstallJvm(int32_t mode) {
  context_.variables.setNumber(1, 0);
  context_.variables.setString(1, std::string());
  if (mode != 0) {
    ui::showProgress();
    ui::setStatus(ui::kStatusPreparing);
  } else {
    ui::hideProgress(0);
  }
  const FileEntry* installer = nullptr;
  for (const FileEntry& entry : context_.launcherEntries.entries()) {
    if (entry.type == JVM_INSTALLER) {
      installer = &entry;
      break;
    }
  }
  if (!installer) throw LauncherException(messageText(kMsgNoJvmInstaller));

  const std::string destination = mode == 2 ? ui::askDestinationDirectory() : context_.temp.createPrivateDir();
  if (destination.empty()) return;
  const std::string program = extractTo(*installer, destination);
  os::allowExecution(program);
  std::string output;
  std::string errors;
  // Quoted: an unquoted path with a blank would start another program first.
  ProcessRequest request;
  request.commandLine = quotePassThroughArgument(program);
  request.workingDirectory = destination;
  request.captureOutput = true;
  request.stdoutSink = &output;
  request.stderrSink = &errors;
  runProcess(request);
  context_.temp.deletePath(program);

  const std::string jvmPath = ensureTrailingSeparator(destination) + "jvm";
  if (!fileExists(jvmPath)) {
    writeLog("Invalid bundled JVM. Missing 'jvm' file.", kLogError);
    return;
  }
  TagFile jvm(jvmPath);
  jvm.setJvmLocation(destination, jvmPath, true);
  if (const int error = jvm.write(jvmPath)) throw LauncherException(writeFailureText(error));
  context_.variables.setNumber(1, 1);
  context_.variables.setFoundPath(1, jvmPath);
}

void LauncherCommands::doExecuteLauncher(int32_t position) {
  launched_ = true;
  const FileEntry* entry = context_.launcherEntries.entryAt(position);
  if (!entry || entry->type != EMBEDDED_LAUNCHER) {
    writeLog("Unable to execute the embedded launcher.", kLogError);
    return;
  }
  const std::string directory = context_.temp.createPrivateDir();
  const std::string program = extractTo(*entry, directory);
  os::allowExecution(program);
  // Each argument written so that the child launcher, which splits its line
  // by the same family's rule as this one, reads it back exactly, trailing
  // backslashes and inner quotes included; the program's path is quoted, as
  // an unquoted path with a blank would start another program first.
  std::string command = quotePassThroughArgument(program);
  if (settings().windows95Family) {
    command += " -qm:orig " + quoteWindows95Argument(settings().launcherFile);
    for (const std::string& argument : settings().launcherArguments.items())
      command += ' ' + quoteWindows95Argument(argument);
    command += ' ';  // a backslash that ended the line would be dropped
  } else {
    command += " -qm:orig " + quotePassThroughArgument(settings().launcherFile);
    command += passThroughText(settings().launcherArguments);
  }
  ProcessRequest request;
  request.commandLine = command;
  request.workingDirectory = directory;
  request.showConsole = true;
  request.newConsole = true;
  request.waitForExit = false;
  runProcess(request);
  // The child launcher runs from this directory after this launcher has
  // gone, and removes it itself at its own exit; until it has started, the
  // directory is this launcher's to remove.
  context_.temp.forgetDir(directory);
}
