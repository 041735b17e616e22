#pragma once
// The gate through which everything but the front end reaches the user
// interface: in silent mode nothing gets to the console. Also keeps the
// status and detail lines that status messages are formed from.
// Process-wide on purpose, as the log is: progress and status come from
// every room of the run, and the user sees one console.

#include <cstdint>
#include <string>

namespace ui {

// Detail kinds of the second status line.
enum DetailKind { kDetailNone = 0, kDetailSearching = 1, kDetailScanning = 2, kDetailVerifying = 3 };
// Status kinds of the primary status line.
enum StatusKind {
  kStatusInitializing = 0,
  kStatusSearching = 1,
  kStatusNotFound = 2,
  kStatusRunning = 3,
  kStatusPreparing = 4,
};

void setSilent(bool silent);
void setStatus(int32_t kind);
void setStatusDetail(int32_t kind, const std::string& text);
void advanceProgress(int32_t steps);
void setProgress(int32_t value);
void showProgress();
void hideProgress(int32_t n);
void showMessage(const std::string& text);
// A line of a service action's result on standard output; past the gate,
// as the caller reads it in silent mode too.
void writeResult(const std::string& line);
// A failure the caller must learn of, on standard error in silent mode too.
void showFailure(const std::string& text);
// A line for the caller on standard output (the version), through the gate.
void showResult(const std::string& line);
// Decodes \uXXXX escapes and hands the title to the application object.
void setTitle(const std::string& text);
// What the user typed; empty in silent mode, where nobody is asked.
std::string askDestinationDirectory();

// The title with its \uXXXX escapes decoded into the ANSI code page.
std::string decodeTitle(const std::string& text);

// Saves the detail line when made and puts it back when it ends.
class StatusDetailSaver {
public:
  StatusDetailSaver();
  ~StatusDetailSaver();
  StatusDetailSaver(const StatusDetailSaver&) = delete;
  StatusDetailSaver& operator=(const StatusDetailSaver&) = delete;

private:
  int32_t kind_;
  std::string text_;
};

// Forgets the status and detail lines; for tests that start from scratch.
void resetStatusState();

}  // namespace ui
