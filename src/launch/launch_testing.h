#pragma once
// For tests only: the application archive's path is remembered for the
// life of a process, but each test needs to start without one, and a fuzzer
// must not have archives copied from wherever its input points.

#include <string>

void resetApplicationArchive();
void rememberApplicationArchive(const std::string& path);
