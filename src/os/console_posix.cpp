// POSIX: a terminal is what isatty says.
#include "os/console.h"

#include <unistd.h>

namespace os {

bool standardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

void writeToStream(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

}  // namespace os
