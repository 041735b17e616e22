// The fixed drives the disk scan walks: the system's, or those a test gives.

#include "jvm/fixed_drives.h"

#include <memory>

#include "base/exceptions.h"
#include "base/messages.h"
#include "jvm/jvm_search_testing.h"
#include "os/drives.h"

namespace {

const int kTextNoDrives = 17;

std::unique_ptr<std::vector<std::string>>& drivesOverride() {
  static std::unique_ptr<std::vector<std::string>> drives;
  return drives;
}

}  // namespace

void overrideFixedDrives(const std::vector<std::string>& drives) {
  drivesOverride().reset(new std::vector<std::string>(drives));
}

void restoreFixedDrives() { drivesOverride().reset(); }

void fixedDrives(std::vector<std::string>& drives) {
  if (drivesOverride()) {
    drives = *drivesOverride();
    return;
  }
  std::vector<std::string> roots;
  if (!os::fixedDriveRoots(&roots)) throw LauncherException(formatMessage(kTextNoDrives));
  drives.clear();
  for (const std::string& root : roots) drives.push_back(root.substr(0, root.size() - 1));
}
