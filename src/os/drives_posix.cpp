// POSIX has no drive letters. The closest honest counterpart of a fixed
// drive is a mounted local disk file system, so the fixed drives are the
// mount points of /proc/self/mounts whose type stores files on a local disk
// (network, memory and kernel file systems are left out), in the table's
// order. Where the table cannot be read the root alone stands for the disk.
// A scan from one mount point stays out of every other (each local disk is
// walked from its own root, the rest are not walked at all) and out of the
// kernel's trees /proc, /sys, /dev and /run whatever is mounted there.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>

#include "os/drives.h"
#include "os/mounts_posix.h"

namespace os {

namespace {

const char kMountTable[] = "/proc/self/mounts";
const char* const kSystemTrees[] = {"/proc/", "/sys/", "/dev/", "/run/"};

bool isOctal(char c) { return c >= '0' && c <= '7'; }

// The table writes blanks, tabs, line feeds and backslashes in paths as a
// backslash and three octal digits.
std::string decodeMountPath(const std::string& field) {
  std::string path;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
        isOctal(field[i + 2]) && isOctal(field[i + 3])) {
      path += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                (field[i + 3] - '0'));
      i += 3;
    } else {
      path += field[i];
    }
  }
  return path;
}

std::string withSlash(const std::string& path) {
  return !path.empty() && path.back() == '/' ? path : path + '/';
}

bool insideSystemTree(const std::string& directory) {
  return std::any_of(std::begin(kSystemTrees), std::end(kSystemTrees),
                     [&](const char* tree) { return directory.rfind(tree, 0) == 0; });
}

bool isExistingDirectory(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool readMountTable(std::vector<MountPoint>* mounts) {
  const int fd = open(kMountTable, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::string table;
  char buffer[8192];
  ssize_t count;
  while ((count = read(fd, buffer, sizeof buffer)) > 0) table.append(buffer, static_cast<size_t>(count));
  close(fd);
  *mounts = parseMountTable(table);
  return true;
}

}  // namespace

std::vector<MountPoint> parseMountTable(const std::string& table) {
  // Each line: device, mount point, type and more, separated by blanks
  // (blanks within a field are written as octal escapes).
  std::vector<MountPoint> mounts;
  size_t start = 0;
  while (start < table.size()) {
    size_t end = table.find('\n', start);
    if (end == std::string::npos) end = table.size();
    std::string fields[3];
    size_t count = 0;
    size_t at = start;
    while (count < 3) {
      at = table.find_first_not_of(" \t", at);
      if (at == std::string::npos || at >= end) break;
      size_t fieldEnd = table.find_first_of(" \t\n", at);
      if (fieldEnd == std::string::npos || fieldEnd > end) fieldEnd = end;
      fields[count++] = table.substr(at, fieldEnd - at);
      at = fieldEnd;
    }
    if (count == 3) mounts.push_back({decodeMountPath(fields[1]), fields[2]});
    start = end + 1;
  }
  return mounts;
}

bool isLocalDiskType(const std::string& type) {
  // overlay is the root of most containers: its layers are local directories.
  static const char* const kLocal[] = {
      "ext2",  "ext3", "ext4",  "xfs",   "btrfs", "jfs",  "reiserfs", "f2fs",    "zfs",
      "bcachefs", "nilfs2", "vfat", "msdos", "exfat", "ntfs", "ntfs3", "hfs", "hfsplus",
      "ufs",   "overlay", "fuseblk"};
  return std::any_of(std::begin(kLocal), std::end(kLocal),
                     [&](const char* local) { return type == local; });
}

std::vector<std::string> fixedRootsFrom(const std::vector<MountPoint>& mounts,
                                        bool (*isDirectory)(const std::string&)) {
  std::vector<std::string> roots;
  for (const MountPoint& mount : mounts) {
    const std::string root = withSlash(mount.path);
    if (!isLocalDiskType(mount.type) || insideSystemTree(root) || !isDirectory(root)) continue;
    if (std::find(roots.begin(), roots.end(), root) == roots.end()) roots.push_back(root);
  }
  return roots;
}

std::vector<std::string> fencesFrom(const std::vector<MountPoint>& mounts) {
  std::vector<std::string> fences(std::begin(kSystemTrees), std::end(kSystemTrees));
  for (const MountPoint& mount : mounts) {
    const std::string fence = withSlash(mount.path);
    if (std::find(fences.begin(), fences.end(), fence) == fences.end()) fences.push_back(fence);
  }
  return fences;
}

bool fixedDriveRoots(std::vector<std::string>* roots) {
  std::vector<MountPoint> mounts;
  if (!readMountTable(&mounts)) {
    *roots = {"/"};
    return true;
  }
  if (mounts.empty()) return false;
  *roots = fixedRootsFrom(mounts, isExistingDirectory);
  return true;
}

std::vector<std::string> scanFences() {
  std::vector<MountPoint> mounts;
  readMountTable(&mounts);
  return fencesFrom(mounts);
}

}  // namespace os
