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
    // Splits the real command line as the launcher does and prints one
    // argument a line, each between brackets so blanks show.
    settings().windows95Family = os::platformId() == 1;
    CommandLine line;
    line.split();
    for (int32_t i = 1; i < line.count(); ++i) std::printf("[%s]\n", line.argument(i));
    *exitCode = 0;
    return true;
  }
  *exitCode = 99;
  return true;
}
