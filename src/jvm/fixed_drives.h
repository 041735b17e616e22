#pragma once
// The fixed drives that path hints are tried on and the disk scan walks.

#include <string>
#include <vector>

// Replaces drives with the fixed drives in the system's order, each without
// its trailing separator ("C:"; "" for the POSIX root). Throws
// LauncherException (text 17) when the system lists no drives at all.
void fixedDrives(std::vector<std::string>& drives);
