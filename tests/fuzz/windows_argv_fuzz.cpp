// Two round trips through Windows' command-line rules, which must give back
// what went in:
// - any line, split, joined again with quoting and split again, gives the
//   same arguments;
// - the input cut at zero bytes into arguments, quoted behind a program name
//   and split, gives those arguments.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "os/windows_argv.h"

namespace {

// The program name has no escapes: quotes keep blanks in, and a name that
// holds a quote can only be written bare (the split never gives one that
// would need both).
std::string quoteProgramName(const std::string& name) {
  if (!name.empty() && name.find_first_of(" \t") == std::string::npos) return name;
  return "\"" + name + "\"";
}

std::string join(const std::vector<std::string>& arguments) {
  std::string line = quoteProgramName(arguments[0]);
  for (size_t i = 1; i < arguments.size(); ++i)
    line += " " + os::quoteWindowsArgument(arguments[i]);
  return line;
}

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  const std::vector<std::string> split = os::splitWindowsCommandLine(input);
  check(split.empty() == (input.empty() || input[0] == '\0'));
  if (!split.empty()) check(os::splitWindowsCommandLine(join(split)) == split);

  std::vector<std::string> arguments = {"prog"};
  size_t start = 0;
  for (;;) {
    const size_t zero = input.find('\0', start);
    arguments.push_back(input.substr(start, zero - start));
    if (zero == std::string::npos) break;
    start = zero + 1;
  }
  check(os::splitWindowsCommandLine(join(arguments)) == arguments);
  return 0;
}
