#pragma once
// The application object: it owns one run and is at the same time the
// launcher's user interface. ConsoleLauncher leaves standard output to the
// application and the caller's results; its status lines, progress dots and
// messages go to standard error, answers come from standard input.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "base/application.h"
#include "base/string_list.h"

// The longest answer to the destination question, the longest Windows path.
constexpr size_t kMaxDestinationLength = 32767;

class TempArea;

// Where a ConsoleLauncher writes and reads.
struct ConsoleStreams {
  std::FILE* results = stdout;  // service action results and the version
  std::FILE* status = stderr;   // status lines, progress dots, messages, questions
  std::FILE* answers = stdin;
  bool progressDots = true;     // the entry shows them only on a terminal
};

class ConsoleLauncher : public LauncherApp {
public:
  explicit ConsoleLauncher(const ConsoleStreams& streams = ConsoleStreams());

  // One run as the entry makes it: the run itself (runLauncher), with this
  // object as the application while it lasts.
  int32_t run(const StringList& arguments, const std::string& launcherPath);
  void showStatus(const std::string& status) override;
  void showStatusDetail(const std::string& status, const std::string& detail) override;
  void advanceProgress(int32_t steps) override;
  void setProgress(int32_t value) override;
  void showProgress() override;
  void hideProgress(int32_t unused) override;
  bool isProgressShown() override;
  void showMessage(const std::string& text) override;
  std::string getTitle() override;
  void setTitle(const std::string& title) override;
  std::string askDestinationDirectory() override;
  // Starts on a line of its own, after any progress dots.
  void writeResult(const std::string& line) override;

private:
  void writeLine(const std::string& text);
  void writeRaw(const std::string& text);
  // Status lines and dots are shown unless the progress was hidden.
  bool statusShown() const { return !progressHidden_; }

  ConsoleStreams streams_;
  int32_t progressCounter_ = 0;
  bool progressShown_ = false;
  bool progressHidden_ = false;
  std::string lastStatusLine_;
  std::string title_;
  bool atLineStart_ = false;  // false at first: the first status line follows a blank one
  bool lineOpen_ = false;     // something was written on the current line
};

// The end of every run: the temporary area goes, then, when -qm:orig asked
// for it, the launcher itself. Never throws.
void cleanupAtExit(TempArea& temp);

// Whether the end of a run shows the last launch's error output: only for a
// failed run, never for the wizard kinds' exit code 1000, and only when
// there is something to show.
bool showsLaunchErrors(int32_t result, int32_t launcherKind, const std::string& errors);

// One run of the launcher with these arguments, as the entry makes it: the
// options and the default run, the last launch's error output shown when
// that run failed, and the cleanup at exit.
int32_t runLauncher(const StringList& arguments, const std::string& launcherPath);

// The program's entry: tells the Windows family, switches the debug log on,
// runs one ConsoleLauncher and returns its exit code.
int launcherMain();
