#include "os/path.h"

namespace os {
char pathSeparator() { return '\\'; }
}  // namespace os
