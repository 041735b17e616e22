#pragma once
// The argument list of a launch-script function call: "(" then quoted
// arguments separated by commas, then ")", with whitespace between.

#include <cstddef>
#include <string>
#include <vector>

// A list that does not follow the syntax: the error and the position (in
// the text being expanded) where the parse last made progress.
struct ArgumentListError {
  std::string error;
  size_t position;
  // The error followed by " (near character <position>)".
  std::string message() const;
};

struct ArgumentList {
  std::vector<std::string> arguments;
  // One past the call's last character: after ")", or the end of the text
  // when the last argument's closing quote ends the text.
  size_t end = 0;
};

// Parses the list that begins at position (just after a function name's
// closing %). Throws ArgumentListError, and LauncherException "Expected
// double quote to end argument near ..." for an argument left open.
ArgumentList parseArgumentList(const std::string& text, size_t position);
