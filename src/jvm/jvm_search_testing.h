#pragma once
// For tests only: searches over a generated tree instead of the machine's
// disks. The drives stand for fixed drives, so each is also a scan root
// (the drive followed by the separator).

#include <string>
#include <vector>

void overrideFixedDrives(const std::vector<std::string>& drives);
void restoreFixedDrives();
