#pragma once
// The free-space estimate made before an extraction, and its arithmetic.

#include <cstdint>
#include <string>

// Whether bytes in files files fit on the volume of path, with whole
// clusters per file. Throws LauncherException "GetDiskFreeSpace failed  ==>  ...".
bool hasFreeSpace(const std::string& path, int64_t bytes, int64_t files);

// Clusters that bytes in files files take: whole clusters for a single file,
// one spare cluster per file for several, none added for no file.
int64_t clustersNeeded(int64_t bytes, int64_t files, uint32_t clusterSize);

// Whether freeClusters clusters of clusterSize bytes hold what
// clustersNeeded asks for. A volume that reports no cluster size always has room.
bool enoughFreeSpace(uint32_t freeClusters, uint32_t clusterSize, int64_t bytes, int64_t files);
