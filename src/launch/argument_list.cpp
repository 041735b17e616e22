// Splitting a launch-script function's arguments.

#include "launch/argument_list.h"

#include "base/text.h"

namespace {

size_t skipSpaces(const std::string& text, size_t position) {
  while (position < text.size() && isSpace(text[position])) ++position;
  return position;
}

bool isAt(const std::string& text, size_t position, char c) {
  return position < text.size() && text[position] == c;
}

}  // namespace

std::string ArgumentListError::message() const {
  return error + " (near character " + decimal(static_cast<int32_t>(position)) + ")";
}

ArgumentList parseArgumentList(const std::string& text, size_t position) {
  ArgumentList list;
  size_t next = skipSpaces(text, position);
  if (!isAt(text, next, '(')) throw ArgumentListError{"Expected left parenthesis.", position};
  position = next + 1;
  for (;;) {
    next = skipSpaces(text, position);
    if (isAt(text, next, ')')) break;
    if (!isAt(text, next, '"')) throw ArgumentListError{"Expected string arg.", position};
    size_t after = next + 1;
    list.arguments.push_back(readArgument(text, after, true));
    if (after == kNoPosition) {
      list.end = text.size();
      return list;
    }
    position = after;
    next = skipSpaces(text, position);
    if (isAt(text, next, ')')) break;
    if (!isAt(text, next, ',')) throw ArgumentListError{"Expected right parenthesis.", position};
    position = next + 1;
  }
  list.end = next + 1;
  return list;
}
