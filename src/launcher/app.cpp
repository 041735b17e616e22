// The console application object and the program's entry. Only portable code.

#include "launcher/app.h"

#include <cctype>

#include "archive/index.h"
#include "cleanup/cleanup.h"
#include "launcher/command_line.h"
#include "launcher/driver.h"
#include "launcher/log.h"
#include "launcher/messages.h"
#include "launcher/settings.h"
#include "os/environment.h"
#include "os/termination.h"
#include "os/command_line.h"
#include "os/version.h"

namespace {

LauncherApp* gApp = nullptr;

// Runs the cleanup of the temporary area when the run leaves its scope,
// normally or by an exception.
class ExitCleanupScope {
public:
  ExitCleanupScope() = default;
  ~ExitCleanupScope() {
    try {
      cleanupAtExit();
    } catch (...) {
    }
  }
  ExitCleanupScope(const ExitCleanupScope&) = delete;
  ExitCleanupScope& operator=(const ExitCleanupScope&) = delete;
};

}  // namespace

bool showsLaunchErrors(int32_t result, int32_t launcherKind, const std::string& errors) {
  const bool wizardKind = launcherKind == 0 || launcherKind == 2;
  return result != 0 && !(wizardKind && result == 1000) && !errors.empty();
}

LauncherApp* theApp() { return gApp; }
void setTheApp(LauncherApp* app) { gApp = app; }

ConsoleLauncher::ConsoleLauncher(std::FILE* out, std::FILE* in) : out_(out), in_(in) {}

int32_t ConsoleLauncher::run() {
  CommandLine commandLine;
  if (!commandLine.split() || commandLine.count() < 1) return -1;
  const std::string launcherPath = os::executablePath();
  StringList arguments;
  for (int32_t i = 1; i < commandLine.count(); ++i) arguments.append(commandLine.argument(i));

  ExitCleanupScope cleanup;
  const int32_t result = startLauncher(arguments, launcherPath);
  const std::string& errors = settings().lastLaunchErrors;
  if (showsLaunchErrors(result, readLauncherKind(launcherPath), errors))
    showMessage(errors);  // straight to the console: shown in silent mode too
  return result;
}

void ConsoleLauncher::writeLine(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), out_);
  std::fputc('\n', out_);
  std::fflush(out_);
  atLineStart_ = true;
  lineOpen_ = false;
}

void ConsoleLauncher::writeRaw(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), out_);
  std::fflush(out_);
  atLineStart_ = false;
  lineOpen_ = true;
}

void ConsoleLauncher::showStatus(const std::string& status) {
  if (!atLineStart_) writeLine(std::string());
  writeLine(status);
}

void ConsoleLauncher::showStatusDetail(const std::string&, const std::string& detail) {
  if (!atLineStart_) writeLine(std::string());
  writeLine(detail);
}

void ConsoleLauncher::advanceProgress(int32_t steps) {
  for (int32_t i = 0; i < steps; ++i) {
    ++progressCounter_;
    if (progressCounter_ > 0 && progressCounter_ % 70 == 0)
      writeLine(".");
    else
      writeRaw(".");
  }
}

void ConsoleLauncher::setProgress(int32_t value) {
  if (progressCounter_ == 100 || value > progressCounter_) writeLine(std::string());
  progressCounter_ = value;
}

void ConsoleLauncher::showProgress() { progressShown_ = true; }
void ConsoleLauncher::hideProgress(int32_t) { progressShown_ = false; }
bool ConsoleLauncher::isProgressShown() { return progressShown_; }
void ConsoleLauncher::showMessage(const std::string& text) { writeLine(text); }
std::string ConsoleLauncher::getTitle() { return title_; }
void ConsoleLauncher::setTitle(const std::string& title) { title_ = title; }

void ConsoleLauncher::writeResult(const std::string& line) {
  if (lineOpen_) writeLine(std::string());
  writeLine(line);
}

std::string ConsoleLauncher::askDestinationDirectory() {
  writeRaw(loadMessageText(kTextChooseDestination));
  // One whitespace-delimited word, as long as the longest path Windows
  // takes; a longer answer (or an endless input) is no path and is not read on.
  std::string word;
  int c;
  while ((c = std::fgetc(in_)) != EOF && std::isspace(c)) {
  }
  while (c != EOF && !std::isspace(c)) {
    if (word.size() == kMaxDestinationLength) return std::string();
    word += static_cast<char>(c);
    c = std::fgetc(in_);
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
    ConsoleLauncher app;
    setTheApp(&app);
    try {
      exitCode = app.run();
    } catch (...) {
      exitCode = -1;
    }
    setTheApp(nullptr);
  }
  // A run that failed because it was interrupted says so as shells do; a
  // child that handled the request and ended keeps its own exit code.
  const int interrupted = os::terminationExitCode();
  if (interrupted != 0 && exitCode == -1) exitCode = interrupted;
  return exitCode;
}
