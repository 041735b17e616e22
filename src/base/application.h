#pragma once
// The application interface that the user-interface gate talks to, and the
// registration of the one object that implements it while a run lasts. It is
// process-wide on purpose: status lines come from every floor of the run, and
// a signal may end a run at any point, so the gate cannot be handed down.

#include <cstdint>
#include <string>

class LauncherApp {
public:
  virtual ~LauncherApp() = default;
  virtual void showStatus(const std::string& status) = 0;
  virtual void showStatusDetail(const std::string& status, const std::string& detail) = 0;
  virtual void advanceProgress(int32_t steps) = 0;
  virtual void setProgress(int32_t value) = 0;
  virtual void showProgress() = 0;
  virtual void hideProgress(int32_t unused) = 0;
  virtual bool isProgressShown() = 0;
  virtual void showMessage(const std::string& text) = 0;
  virtual std::string getTitle() = 0;
  virtual void setTitle(const std::string& title) = 0;
  virtual std::string askDestinationDirectory() = 0;
  // One line of a service action's result on standard output, for the
  // caller to read: always written, silent or not.
  virtual void writeResult(const std::string& line) = 0;
};

// The process's one application object while it lives, or null.
LauncherApp* theApp();
void setTheApp(LauncherApp* app);
