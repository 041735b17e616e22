#pragma once
// For tests and benchmarks only: searches over a generated tree instead of
// the machine's disks. The drives stand for fixed drives, so each is also a
// scan root (the drive followed by the separator). Process-wide, as the
// machine's disks are: the benchmark's scan launcher sets it before the
// launcher's own entry runs.

#include <string>
#include <vector>

void overrideFixedDrives(const std::vector<std::string>& drives);
void restoreFixedDrives();

