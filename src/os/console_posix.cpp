// POSIX: a terminal is what isatty says.
#include "os/console.h"

#include <unistd.h>

namespace os {

bool standardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace os
