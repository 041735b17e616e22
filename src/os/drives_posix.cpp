// POSIX has no drive letters. The closest honest counterpart of a fixed
// drive is a mounted local disk file system, so the fixed drives are the
// mount points of /proc/self/mounts whose type stores files on a local disk
// (network, memory and kernel file systems are left out), in the table's
// order. Where the table cannot be read the root alone stands for the disk.
// A scan from one mount point stays out of every other (each local disk is
// walked from its own root, the rest are not walked at all) and out of the
// kernel's trees /proc, /sys, /dev and /run whatever is mounted there.
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

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
  std::ifstream in(kMountTable);
  if (!in) return false;
  std::ostringstream table;
  table << in.rdbuf();
  *mounts = parseMountTable(table.str());
  return true;
}

}  // namespace

std::vector<MountPoint> parseMountTable(const std::string& table) {
  std::vector<MountPoint> mounts;
  std::istringstream lines(table);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string device, path, type;
    if (!(fields >> device >> path >> type)) continue;
    mounts.push_back({decodeMountPath(path), type});
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
