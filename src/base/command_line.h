#pragma once
// The launcher's arguments, split from the process command line by the rule
// of the Windows family it runs on.

#include <cstdint>
#include <string>
#include <vector>

class CommandLine {
public:
  // Fills the arguments from the process command line; always succeeds.
  bool split();
  int32_t count() const { return static_cast<int32_t>(arguments_.size()); }
  // The text of argument i (0 is the program path), or null outside the list.
  const char* argument(int32_t i) const;

private:
  std::vector<std::string> arguments_;
};

// The Windows 95 family's splitting of an ANSI command line: quotes group,
// empty tokens are dropped, and after the program path a backslash escapes
// the next character (a quote becomes a literal quote) except a blank
// outside quotes, which ends the token after the backslash.
std::vector<std::string> splitWindows95CommandLine(const std::string& line);

// The argument written so that splitWindows95CommandLine reads it back whole
// when it is not the first and a blank follows it (a backslash that ends the
// line is dropped). What cannot be written for that reading: an empty
// argument, and a backslash right before a quote, which comes back doubled.
std::string quoteWindows95Argument(const std::string& argument);
