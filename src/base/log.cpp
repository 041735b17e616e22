// The log file and the debug log.

#include "base/log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/settings.h"
#include "base/text.h"
#include "os/clock.h"
#include "os/console.h"

namespace {

// "2026-12-10T05:50:12.345Z ": when the line was written, to the millisecond.
std::string timeStamp() {
  const os::WallTime now = os::utcNow();
  return paddedDecimal(now.year, 4) + '-' + paddedDecimal(now.month, 2) + '-' +
         paddedDecimal(now.day, 2) + 'T' + paddedDecimal(now.hour, 2) + ':' +
         paddedDecimal(now.minute, 2) + ':' + paddedDecimal(now.second, 2) + '.' +
         paddedDecimal(now.millisecond, 3) + "Z ";
}

}  // namespace

bool logging() { return !settings().logFile.empty(); }

void writeLog(const std::string& text, int kind) {
  LauncherSettings& s = settings();
  if (s.logFile.empty()) return;
  std::FILE* file = std::fopen(s.logFile.c_str(), "a");
  if (!file) {
    // The run goes on without its log, but the user who asked for one is
    // told, once for each file.
    if (s.unopenedLogFile != s.logFile) {
      s.unopenedLogFile = s.logFile;
      os::writeToStream(stderr, "Unable to open the log file " + s.logFile + ": " +
                                    std::strerror(errno) + "\n");
    }
    return;
  }
  if (!s.logSeparatorWritten) {
    std::fputs("------------------\n", file);
    s.logSeparatorWritten = true;
  }
  const char* prefix = kind == kLogWarning ? "WARNING: " : kind == kLogError ? "ERROR: " : "";
  std::fputs(timeStamp().c_str(), file);
  std::fputs(prefix, file);
  std::fwrite(text.data(), 1, text.size(), file);
  std::fputc('\n', file);
  std::fflush(file);
  std::fclose(file);
}

void writeDebugLog(const std::string& text, bool withLineEnd) {
  const LauncherSettings& s = settings();
  if (!s.debugLogEnabled || s.debugLogFile.empty()) return;
  std::FILE* file = std::fopen(s.debugLogFile.c_str(), "a");
  if (!file) return;
  std::fwrite(text.data(), 1, text.size(), file);
  if (withLineEnd) std::fputc('\n', file);
  std::fclose(file);
}
