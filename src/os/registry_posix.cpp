// POSIX has no registry: platform hints yield nothing here. Every open
// answers ENOSYS, should a caller try one regardless.
#include <errno.h>

#include "os/registry.h"

namespace os {

bool hasRegistry() { return false; }

std::vector<RegistryView> registryViews() { return {RegistryView::kProcess}; }

unsigned long openRegistryKey(RegistryHive, const std::string&, RegistryView, RegistryKey*) {
  return ENOSYS;
}

unsigned long readRegistryText(RegistryKey, const std::string&, std::string*) { return ENOSYS; }

void closeRegistryKey(RegistryKey) {}

}  // namespace os
