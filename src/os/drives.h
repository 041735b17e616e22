#pragma once
// The disks a JVM search may look on: the fixed drives and the places a
// disk scan must stay out of.

#include <string>
#include <vector>

namespace os {

// The roots of the fixed disks in the system's order, each ending in the
// path separator ("C:\"). False when the system lists no drives at all.
bool fixedDriveRoots(std::vector<std::string>* roots);

// Directories (each ending in the separator) that a disk scan must not
// enter unless the walk started there; empty where the system has none.
std::vector<std::string> scanFences();

}  // namespace os
