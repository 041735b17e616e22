#pragma once
// For tests only: the launcher never resets its cleanup state, but each test
// needs to start from that of a fresh process, and cannot wait ten seconds
// for a file that will not go away.

#include <functional>
#include <string>

#include "base/retry.h"

// Empties both lists of the CleanupList.
void resetCleanupList();

// Paces the retries of an entry that is still there (normally every 50 ms
// for about 10 seconds).
void setCleanupRetryTiming(const RetryTiming& timing);

// Makes deleteOne fail, as if the system had refused with the code that
// refuse gives, for every path for which that code is not 0. A file that
// the system keeps however it is asked cannot be made on every test system
// (a test run as root may delete anything). An empty function ends this.
void setDeletionRefusal(std::function<unsigned long(const std::string&)> refuse);

// The lists, the pacing and the refusal as in a fresh process.
void resetCleanupState();
