// The user-interface gate and the status lines. Only portable code.

#include "base/ui.h"

#include <cstdio>

#include <cstdlib>

#include "base/application.h"
#include "base/messages.h"
#include "base/settings.h"
#include "os/console.h"
#include "os/text_resources.h"

namespace {
LauncherApp* gApp = nullptr;
}  // namespace

LauncherApp* theApp() { return gApp; }
void setTheApp(LauncherApp* app) { gApp = app; }

namespace ui {
namespace {

struct StatusState {
  int32_t statusMessage = -1;
  int32_t detailMessage = -1;
  int32_t detailKind = 0;
  std::string detailText;
};

StatusState& state() {
  static StatusState instance;
  return instance;
}

bool gateOpen() { return !settings().silent && theApp() != nullptr; }

int32_t statusMessageFor(int32_t kind) {
  static const int32_t kNumbers[] = {kTextInitializing, kTextSearchingJvm, kTextJvmNotFound,
                                     kTextRunning, kTextPreparingJvm};
  return kind >= 0 && kind <= 4 ? kNumbers[kind] : -1;
}

int32_t detailMessageFor(int32_t kind, const std::string& text) {
  if (kind == kDetailSearching && !text.empty()) return kTextSearchingFor;
  if (kind == kDetailScanning) return kTextScanningDisks;
  if (kind == kDetailVerifying && !text.empty()) return kTextVerifying;
  return -1;
}

std::string statusText() {
  const StatusState& s = state();
  if (s.statusMessage <= 0) return std::string();
  return formatMessage(s.statusMessage, {theApp()->getTitle()});
}

}  // namespace

void setSilent(bool silent) { settings().silent = silent; }

void setStatus(int32_t kind) {
  if (!gateOpen()) return;
  StatusState& s = state();
  s.statusMessage = statusMessageFor(kind);
  if (s.statusMessage < 0) {
    theApp()->showStatus(std::string());
    return;
  }
  std::string status = statusText();
  if (s.detailMessage <= 0)
    theApp()->showStatus(status);
  else
    theApp()->showStatusDetail(status, formatMessage(s.detailMessage, {s.detailText}));
}

void setStatusDetail(int32_t kind, const std::string& text) {
  if (!gateOpen()) return;
  StatusState& s = state();
  s.detailMessage = detailMessageFor(kind, text);
  s.detailKind = s.detailMessage < 0 ? 0 : kind;
  s.detailText = text;
  std::string status = statusText();
  if (s.detailMessage > 0)
    theApp()->showStatusDetail(status, formatMessage(s.detailMessage, {s.detailText}));
}

void advanceProgress(int32_t steps) {
  if (gateOpen()) theApp()->advanceProgress(steps);
}

void setProgress(int32_t value) {
  if (gateOpen()) theApp()->setProgress(value);
}

void showProgress() {
  if (!theApp()) return;
  if (settings().silent)
    theApp()->hideProgress(0);
  else
    theApp()->showProgress();
}

void hideProgress(int32_t n) {
  if (theApp()) theApp()->hideProgress(n);
}

void showMessage(const std::string& text) {
  if (gateOpen()) theApp()->showMessage(text);
}

void showFailure(const std::string& text) {
  if (theApp()) theApp()->showMessage(text);
}

void showResult(const std::string& line) {
  if (gateOpen()) theApp()->writeResult(line);
}

void writeResult(const std::string& line) {
  if (theApp()) {
    theApp()->writeResult(line);
  } else {
    os::writeToStream(stdout, line + '\n');
  }
}

std::string decodeTitle(const std::string& text) {
  // Escapes become UTF-16 code units, converted together so that a pair of
  // escapes can form one character; every other byte is already in the
  // ANSI code page and stays as it is.
  std::string title;
  std::u16string units;
  auto flushUnits = [&] {
    if (units.empty()) return;
    title += os::ansiFromUtf16(units);
    units.clear();
  };
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\\' && text.size() - i > 5 && (text[i + 1] == 'u' || text[i + 1] == 'U')) {
      const std::string digits = text.substr(i + 2, 4);
      char* end = nullptr;
      unsigned long unit = std::strtoul(digits.c_str(), &end, 16);
      if (end != digits.c_str()) {
        units += static_cast<char16_t>(unit);
        i += 6;
        continue;
      }
    }
    flushUnits();
    title += text[i++];
  }
  flushUnits();
  return title;
}

void setTitle(const std::string& text) {
  if (theApp()) theApp()->setTitle(decodeTitle(text));
}

std::string askDestinationDirectory() {
  if (!gateOpen()) return std::string();
  return theApp()->askDestinationDirectory();
}

StatusDetailSaver::StatusDetailSaver() : kind_(state().detailKind), text_(state().detailText) {}

StatusDetailSaver::~StatusDetailSaver() {
  // The detail is put back for the next status line, not shown again: what
  // it named is no longer being tried.
  StatusState& s = state();
  s.detailMessage = detailMessageFor(kind_, text_);
  s.detailKind = s.detailMessage < 0 ? 0 : kind_;
  s.detailText = text_;
}

void resetStatusState() { state() = StatusState(); }

}  // namespace ui
