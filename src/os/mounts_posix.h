#pragma once
// POSIX only: the mount table as the drive functions read it, exposed so
// that tests can feed it a table of their own.

#include <string>
#include <vector>

namespace os {

struct MountPoint {
  std::string path;  // as mounted, octal escapes decoded, no trailing '/'
  std::string type;  // the file system type
};

// The entries of a table in the format of /proc/self/mounts, in its order.
std::vector<MountPoint> parseMountTable(const std::string& table);

// Whether a file system type keeps its files on a local disk.
bool isLocalDiskType(const std::string& type);

// The mount points a disk scan starts from: local disks, outside the system
// trees, each once, with a trailing '/'. isDirectory decides which exist.
std::vector<std::string> fixedRootsFrom(const std::vector<MountPoint>& mounts,
                                        bool (*isDirectory)(const std::string&));

// The system trees and every mount point, with a trailing '/'.
std::vector<std::string> fencesFrom(const std::vector<MountPoint>& mounts);

}  // namespace os
