#pragma once
// Windows' reading of a command line as an argument list, and the quoting
// that makes an argument survive it. Portable: the POSIX build starts its
// children from Windows-style command lines with these.

#include <string>
#include <vector>

namespace os {

// Splits as CommandLineToArgvW does (checked against Wine's): the program
// name runs to the first space or tab, or, when it starts with a quote, to
// the next quote with no escapes; the other arguments follow the backslash
// and quote rules, three quotes in a row giving one literal quote. Bytes
// after a zero byte are not part of the line. An empty line gives an empty
// list (CommandLineToArgvW would give the caller's own path instead).
std::vector<std::string> splitWindowsCommandLine(const std::string& commandLine);

// The argument written so that splitWindowsCommandLine gives it back whole
// when it follows the program name; unchanged when it needs no quotes. An
// argument holding a zero byte cannot be passed and is cut at that byte.
std::string quoteWindowsArgument(const std::string& argument);

}  // namespace os
