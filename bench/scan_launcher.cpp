// The launcher with one difference, for the disk scan benchmark: its fixed
// drives are the directories that QM_BENCH_DRIVES lists (separated by ':'),
// not the machine's local disks, so that a scan walks a generated tree and
// nothing else. Everything else, the walk included, is the launcher's own code.
#include <cstdlib>
#include <string>
#include <vector>

#include "jvm/jvm_search_testing.h"
#include "launcher/app.h"

int main() {
  const char* list = std::getenv("QM_BENCH_DRIVES");
  std::vector<std::string> drives;
  std::string rest = list ? list : "";
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    drives.push_back(rest.substr(0, colon));
    rest = colon == std::string::npos ? "" : rest.substr(colon + 1);
  }
  overrideFixedDrives(drives);
  return launcherMain();
}
