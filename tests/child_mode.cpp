#include "child_mode.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "launcher/command_line.h"
#include "launcher/settings.h"
#include "os/version.h"

bool runChildModeIfAsked(int* exitCode) {
  const char* mode = std::getenv("QM_TEST_CHILD");
  if (!mode) return false;
  if (std::string(mode) == "print-arguments") {
    // Splits the real command line as the launcher does and writes one
    // argument a line, each between brackets so blanks show, to the file
    // named by QM_TEST_OUTPUT (standard output when unset).
    settings().windows95Family = os::platformId() == 1;
    CommandLine line;
    line.split();
    const char* outputName = std::getenv("QM_TEST_OUTPUT");
    std::FILE* out = outputName ? std::fopen(outputName, "wb") : stdout;
    if (!out) {
      *exitCode = 98;
      return true;
    }
    for (int32_t i = 1; i < line.count(); ++i) std::fprintf(out, "[%s]\n", line.argument(i));
    if (out != stdout) std::fclose(out);
    *exitCode = 0;
    return true;
  }
  *exitCode = 99;
  return true;
}
