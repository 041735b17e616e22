// POSIX has no registry: platform hints yield nothing here. Every open
// answers ENOSYS, should a caller try one regardless.
#include <errno.h>

#include "os/registry.h"

namespace os {

bool hasRegistry() { return false; }

std::vector<RegistryView> registryViews() { return {RegistryView::kProcess}; }

SystemResult openRegistryKey(RegistryHive, const std::string&, RegistryView, RegistryKey*) {
  return systemResult(ENOSYS);
}

SystemResult readRegistryText(RegistryKey, const std::string&, std::string*) {
  return systemResult(ENOSYS);
}

SystemResult listRegistrySubkeys(RegistryKey, std::vector<std::string>*) {
  return systemResult(ENOSYS);
}

void closeRegistryKey(RegistryKey) {}

}  // namespace os
