#pragma once
// Helpers shared by the tests: a fresh temporary directory on the real file
// system, a recording user interface, and a reset of the process-wide state.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "archive/index.h"
#include "launcher/app.h"
#include "process/process_runner.h"

// Makes a new empty directory below the system's temporary directory and
// removes it with everything in it when the object ends.
class ScopedTempDir {
public:
  ScopedTempDir();
  ~ScopedTempDir();
  const std::string& path() const { return path_; }
  // The path of name inside the directory.
  std::string file(const std::string& name) const;

private:
  std::string path_;
};

std::string readWholeFile(const std::string& path);
// The file's text with carriage returns dropped, as text mode wrote it.
std::string readTextFile(const std::string& path);
// A log file as readTextFile gives it, without the time that begins each of
// its lines.
std::string readLogFile(const std::string& path);
void writeWholeFile(const std::string& path, const std::string& content);

// A user interface that records every call as a line of text.
class RecordingApp : public LauncherApp {
public:
  void showStatus(const std::string& status) override { calls.push_back("status:" + status); }
  void showStatusDetail(const std::string& status, const std::string& detail) override {
    calls.push_back("detail:" + status + "|" + detail);
  }
  void advanceProgress(int32_t steps) override { calls.push_back("advance:" + std::to_string(steps)); }
  void setProgress(int32_t value) override { calls.push_back("progress:" + std::to_string(value)); }
  void showProgress() override { calls.push_back("showProgress"); }
  void hideProgress(int32_t) override { calls.push_back("hideProgress"); }
  bool isProgressShown() override { return false; }
  void showMessage(const std::string& text) override { calls.push_back("message:" + text); }
  void writeResult(const std::string& line) override { calls.push_back("result:" + line); }
  std::string getTitle() override { return title; }
  void setTitle(const std::string& text) override { title = text; }
  std::string askDestinationDirectory() override {
    calls.push_back("ask");
    return "answer";
  }

  // The texts of the showMessage calls, in order.
  std::vector<std::string> messages() const {
    std::vector<std::string> shown;
    for (const std::string& call : calls)
      if (call.rfind("message:", 0) == 0) shown.push_back(call.substr(8));
    return shown;
  }

  std::vector<std::string> calls;
  std::string title;
};

class LauncherRun;

// A process request spelled out step by step.
struct RequestOf : ProcessRequest {
  explicit RequestOf(std::string command) { commandLine = std::move(command); }
  RequestOf& in(std::string directory) {
    workingDirectory = std::move(directory);
    return *this;
  }
  RequestOf& shown() {
    showConsole = true;
    return *this;
  }
  RequestOf& noWait() {
    waitForExit = false;
    return *this;
  }
  RequestOf& capturedIf(bool capture, std::string* out, std::string* err) {
    captureOutput = capture;
    stdoutSink = out;
    stderrSink = err;
    return *this;
  }
  RequestOf& captured(std::string* out, std::string* err) { return capturedIf(true, out, err); }
};

// One entry of a launcher file that a test writes, with its bytes.
struct LauncherPart {
  FileEntry entry;
  std::string data;
};
// Entries of these types, names and bytes, with the ids 1, 2, 3... in order.
struct Stored {
  FileType type;
  std::string name, bytes;
};
std::vector<LauncherPart> numberedParts(const std::vector<Stored>& stored);
// A launcher file's bytes: stub, the entries' bytes, index and trailer, made
// by the archive writer.
std::string launcherFileBytes(std::vector<LauncherPart> parts, uint8_t kind = 0,
                              const std::string& stub = "MZ stub bytes");

// The message of the LauncherException that step throws; empty when it
// throws none.
std::string thrownMessage(const std::function<void()>& step);

class TempArea;

// The temporary area and the run that a test works in, as the front end
// owns one of each per process; newTestRun starts a fresh run in the same
// area, LauncherStateTest a fresh area too.
TempArea& testTemp();
LauncherRun& testRun();
void newTestRun();

// Starts each test with the process-wide state of a fresh launcher, a new
// run and a recording user interface installed as the application object.
class LauncherStateTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  RecordingApp app_;
};
