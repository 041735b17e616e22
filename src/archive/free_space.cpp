// The free-space estimate. Only portable code.

#include "archive/free_space.h"

#include "base/exceptions.h"
#include "base/messages.h"
#include "os/file_system.h"

int64_t clustersNeeded(int64_t bytes, int64_t files, uint32_t clusterSize) {
  int64_t clusters = bytes / clusterSize;
  if (files == 1 && bytes % clusterSize != 0) clusters += 1;
  if (files >= 2) clusters += files;
  return clusters;
}

bool enoughFreeSpace(uint32_t freeClusters, uint32_t clusterSize, int64_t bytes, int64_t files) {
  // Both sides come to 0 bytes then; the division below must not be made.
  if (clusterSize == 0) return true;
  const double cluster = clusterSize;
  return static_cast<double>(freeClusters) * cluster >=
         static_cast<double>(clustersNeeded(bytes, files, clusterSize)) * cluster;
}

bool hasFreeSpace(const std::string& path, int64_t bytes, int64_t files) {
  os::DiskSpace space;
  const os::FileResult result = os::diskFreeSpace(os::freeSpaceRoot(path), &space);
  if (!result.ok())
    throw LauncherException(systemCallFailure(kCallDiskFreeSpace, result.code));
  // The cluster size is a 32-bit product, as the drive query's callers always made it.
  const uint32_t clusterSize = space.sectorsPerCluster * space.bytesPerSector;
  return enoughFreeSpace(space.freeClusters, clusterSize, bytes, files);
}
