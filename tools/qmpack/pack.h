#pragma once
// Building a launcher file from a plan, and listing the index of one.

#include <string>
#include <vector>

#include "qmpack/manifest.h"

// Writes the launcher the plan describes: stub, entries' bytes, index, kind
// byte and trailer. Everything is checked before the first byte is written,
// and the file is built under a temporary name beside the output and renamed
// into place, so a failure leaves no output and an older output unchanged.
// Throws LauncherException. Returns the size of the launcher written.
int64_t writeLauncher(const PackPlan& plan);

// One line per entry of the launcher file's index, read by the launcher's
// own loader. Throws the loader's LauncherException for a broken file.
std::vector<std::string> listLauncher(const std::string& path);
