#pragma once
// The message texts compiled into the POSIX build, from the same files that
// make the Windows string tables.

// The text of number in the language that the locale name (such as
// "de_DE.UTF-8") asks for, falling back to English; null without a text.
const char* builtinMessageText(const char* localeName, int number);
