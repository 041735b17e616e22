// POSIX has no registry: platform hints yield nothing here. Every open
// answers ENOSYS, should a caller try one regardless.
#include <errno.h>

#include "os/registry.h"

namespace os {

bool hasRegistry() { return false; }

unsigned long openRegistryKey(RegistryHive, const std::string&, RegistryKey*) { return ENOSYS; }

unsigned long readRegistryText(RegistryKey, const std::string&, std::string*) { return ENOSYS; }

void closeRegistryKey(RegistryKey) {}

}  // namespace os
