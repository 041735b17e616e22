// The console application object and the program's entry. Only portable code.

#include "launcher/app.h"

#include <cctype>

#include "archive/index.h"
#include "base/command_line.h"
#include "base/log.h"
#include "base/messages.h"
#include "base/settings.h"
#include "cleanup/self_removal.h"
#include "launcher/driver.h"
#include "launcher/launcher_run.h"
#include "os/command_line.h"
#include "os/console.h"
#include "os/environment.h"
#include "os/termination.h"
#include "os/version.h"
#include "temp/temp.h"

namespace {

// Runs the cleanup at exit when the run leaves its scope, normally or by an
// exception.
class ExitCleanupScope {
public:
  explicit ExitCleanupScope(TempArea& temp) : temp_(temp) {}
  ~ExitCleanupScope() { cleanupAtExit(temp_); }
  ExitCleanupScope(const ExitCleanupScope&) = delete;
  ExitCleanupScope& operator=(const ExitCleanupScope&) = delete;

private:
  TempArea& temp_;
};

// The application object of the process for as long as a run lasts.
class AppRegistration {
public:
  explicit AppRegistration(LauncherApp* app) { setTheApp(app); }
  ~AppRegistration() { setTheApp(nullptr); }
  AppRegistration(const AppRegistration&) = delete;
  AppRegistration& operator=(const AppRegistration&) = delete;
};

}  // namespace

void cleanupAtExit(TempArea& temp) {
  temp.removeAll();
  try {
    if (settings().removeLauncherAtExit) removeSelf(temp);
  } catch (...) {
    // Nothing can be reported any more; the launcher stays.
  }
}

bool showsLaunchErrors(int32_t result, int32_t launcherKind, const std::string& errors) {
  const bool wizardKind = launcherKind == 0 || launcherKind == 2;
  return result != 0 && !(wizardKind && result == 1000) && !errors.empty();
}

ConsoleLauncher::ConsoleLauncher(const ConsoleStreams& streams) : streams_(streams) {}

int32_t runLauncher(const StringList& arguments, const std::string& launcherPath) {
  TempArea temp;
  ExitCleanupScope cleanup(temp);
  LauncherRun run(temp);
  const int32_t result = startLauncher(run, arguments, launcherPath);
  const std::string errors = run.lastLaunchErrors();
  LauncherApp* app = theApp();
  if (app && showsLaunchErrors(result, run.launcherKind(), errors))
    app->showMessage(errors);  // past the gate: shown in silent mode too
  return result;
}

int32_t ConsoleLauncher::run(const StringList& arguments, const std::string& launcherPath) {
  AppRegistration registration(this);
  return runLauncher(arguments, launcherPath);
}

void ConsoleLauncher::writeLine(const std::string& text) {
  // One write: standard error is unbuffered, and each write is a system call.
  os::writeToStream(streams_.status, text + '\n');
  atLineStart_ = true;
  lineOpen_ = false;
}

void ConsoleLauncher::writeRaw(const std::string& text) {
  os::writeToStream(streams_.status, text);
  atLineStart_ = false;
  lineOpen_ = true;
}

void ConsoleLauncher::showStatus(const std::string& status) {
  // A line the user already reads is not repeated for every candidate.
  if (!statusShown() || status == lastStatusLine_) return;
  lastStatusLine_ = status;
  if (!atLineStart_) writeLine(std::string());
  writeLine(status);
}

void ConsoleLauncher::showStatusDetail(const std::string&, const std::string& detail) {
  showStatus(detail);
}

void ConsoleLauncher::advanceProgress(int32_t steps) {
  if (!statusShown() || !streams_.progressDots) return;
  for (int32_t i = 0; i < steps; ++i) {
    ++progressCounter_;
    if (progressCounter_ > 0 && progressCounter_ % 70 == 0)
      writeLine(".");
    else
      writeRaw(".");
  }
}

void ConsoleLauncher::setProgress(int32_t value) {
  const bool moves = progressCounter_ == 100 || value > progressCounter_;
  progressCounter_ = value;
  if (moves && statusShown() && streams_.progressDots) writeLine(std::string());
}

void ConsoleLauncher::showProgress() {
  progressShown_ = true;
  progressHidden_ = false;
}

void ConsoleLauncher::hideProgress(int32_t) {
  progressShown_ = false;
  progressHidden_ = true;
}
bool ConsoleLauncher::isProgressShown() { return progressShown_; }
void ConsoleLauncher::showMessage(const std::string& text) { writeLine(text); }
std::string ConsoleLauncher::getTitle() { return title_; }
void ConsoleLauncher::setTitle(const std::string& title) { title_ = title; }

void ConsoleLauncher::writeResult(const std::string& line) {
  // Ends a line of dots first, where both streams reach one terminal.
  if (lineOpen_) writeLine(std::string());
  os::writeToStream(streams_.results, line + '\n');
}

std::string ConsoleLauncher::askDestinationDirectory() {
  writeRaw(loadMessageText(kTextChooseDestination));
  // One whitespace-delimited word, as long as the longest path Windows
  // takes; a longer answer (or an endless input) is no path and is not read on.
  std::string word;
  int c;
  while ((c = std::fgetc(streams_.answers)) != EOF && std::isspace(c)) {
  }
  while (c != EOF && !std::isspace(c)) {
    if (word.size() == kMaxDestinationLength) return std::string();
    word += static_cast<char>(c);
    c = std::fgetc(streams_.answers);
  }
  return word;
}

int launcherMain() {
  LauncherSettings& s = settings();
  s.windows95Family = os::platformId() == 1;
  std::string debugLog;
  if (os::getEnvironmentVariable("DBGWIN32VAQ", &debugLog)) {
    s.debugLogFile = debugLog;
    s.debugLogEnabled = true;
    writeDebugLog("Console Launcher Started", true);
  }
  // Ctrl-C or a kill ends the child first; the run then ends and removes
  // its temporary files instead of leaving them and the child behind.
  os::catchTerminationRequests();
  int32_t exitCode = -1;
  {
    ConsoleStreams streams;
    streams.progressDots = os::standardErrorIsTerminal();
    ConsoleLauncher app(streams);
    CommandLine commandLine;
    if (commandLine.split() && commandLine.count() >= 1) {
      StringList arguments;
      for (int32_t i = 1; i < commandLine.count(); ++i) arguments.append(commandLine.argument(i));
      try {
        exitCode = app.run(arguments, os::executablePath());
      } catch (...) {
        exitCode = -1;
      }
    }
  }
  // A run that failed because it was interrupted says so as shells do; a
  // child that handled the request and ended keeps its own exit code.
  const int interrupted = os::terminationExitCode();
  if (interrupted != 0 && exitCode == -1) exitCode = interrupted;
  return exitCode;
}
