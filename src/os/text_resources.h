#pragma once
// The message texts built into the executable, and the platform's formatting
// of messages and system error codes.

#include <string>
#include <vector>

namespace os {

// The text of string resource `number` in the user's language (Windows: the
// string table picked by the user interface language; POSIX: the built-in
// table picked by LC_ALL, LC_MESSAGES or LANG). Empty when there is none.
std::string loadResourceString(int number);

// Fills %1!s! (and the other insert forms of the Windows message formatter)
// from inserts. False when formatting fails or gives an empty text.
bool formatMessageText(const std::string& pattern,
                       const std::vector<std::string>& inserts, std::string* out);

// The platform's text for a system error code, ending in a line break, or
// empty when the platform has none.
std::string systemErrorText(unsigned long code);

// Converts UTF-16 code units to the ANSI code page (POSIX: UTF-8).
std::string ansiFromUtf16(const std::u16string& text);

}  // namespace os
