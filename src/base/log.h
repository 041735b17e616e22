#pragma once
// The run's log (named by -qm:log or an input file's LOGFILE) and the debug
// log (named by DBGWIN32VAQ). Both are opened and closed for every write, so
// they stay complete when the process is killed; a log that cannot be opened
// is reported once on standard error and the run goes on without it.
// Process-wide on purpose: every room logs, from the first option to the
// cleanup after the run, and handing a log down would add a parameter to
// nearly every function for no gain in what a reader can tell.

#include <string>

enum LogKind { kLogPlain = 0, kLogWarning = 1, kLogError = 2 };

// Appends one line: the time (UTC, ISO 8601 to the millisecond, then a
// blank), the kind's prefix and the text. The first line of a process is
// preceded by the separator line.
void writeLog(const std::string& text, int kind = kLogPlain);

// Whether writeLog writes anywhere: a text made for the log alone need not
// be made without one.
bool logging();

// Appends the text to the debug log, with a line end when asked.
void writeDebugLog(const std::string& text, bool withLineEnd);
