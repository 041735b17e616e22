#pragma once
// The arguments handed on to the Java program, written onto its command
// line so that the program's runtime reads each one back unchanged.

#include <string>

#include "base/string_list.h"

// The argument in double quotes, escaped so that CommandLineToArgvW and the
// C runtime give it back whole: quotes behind a backslash, and backslashes
// doubled only where a quote follows them.
std::string quotePassThroughArgument(const std::string& argument);

// A blank and the quoted argument for each argument, in order.
std::string passThroughText(const StringList& arguments);
