#pragma once
// For tests only: searches over a generated tree instead of the machine's
// disks. The drives stand for fixed drives, so each is also a scan root
// (the drive followed by the separator).

#include <cstdint>
#include <string>
#include <vector>

void overrideFixedDrives(const std::vector<std::string>& drives);
void restoreFixedDrives();

// How long a verifier run may take; 0 restores the launcher's 30 seconds.
void setVerifierTimeLimit(uint32_t milliseconds);
