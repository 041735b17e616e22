// Windows names its JVMs in the registry, which the platform hints of the
// JVM description files read; it has no list of JVM paths of its own.
#include "os/jvm_paths.h"

namespace os {

std::vector<std::string> platformJvmPaths(const std::string&) { return {}; }

}  // namespace os
