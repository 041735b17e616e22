// A POSIX system has none of the Windows 95 family's limits: it answers as
// the NT family does.
#include "os/version.h"

namespace os {
int platformId() { return 2; }
bool systemIsWindows() { return false; }
}  // namespace os
