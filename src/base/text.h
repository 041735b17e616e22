#pragma once
// Readers and helpers shared by everything that reads script text: quoted
// arguments, words, lines, trimming and the big-endian fields of the archive.

#include <cstdint>
#include <cstdio>
#include <string>

// A position that is not there; reads as -1 when taken as signed.
constexpr size_t kNoPosition = static_cast<size_t>(-1);

// The format's whitespace set: space, tab, line feed and carriage return.
extern const char kFormatSpaces[];

inline bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Reads one argument starting at pos. Quoted: pos is just after the opening
// quote, doubled quotes stand for one. Unquoted: runs to the next whitespace.
// pos ends after the argument, or kNoPosition at the end of the text.
// Throws LauncherException "Expected double quote to end argument near <pos>".
std::string readArgument(const std::string& text, size_t& pos, bool quoted);

// Skips C-library whitespace, then reads up to the next whitespace; pos ends
// one past the character that stopped the word.
std::string readWord(const std::string& text, size_t& pos);

// Reads a line from an open file up to a line feed or the end, drops every
// carriage return and trims the result with the format's whitespace set.
// hitEnd, when given, tells whether reading stopped because nothing more
// could be read (the end of the file or a read error).
std::string readLine(std::FILE* file, bool* hitEnd = nullptr);

// Appends the line of text starting at pos to output (carriage returns
// dropped), moves pos one past its line feed, then trims output.
// Does nothing when pos is at or beyond the end.
void readLine(const std::string& text, size_t& pos, std::string& output);

// Removes the characters of set from both ends of text.
void trim(std::string& text, const char* set = kFormatSpaces);

// The position at which suffix ends text, or -1.
long endsWith(const std::string& text, const std::string& suffix);

// The platform's path separator.
// (The separator itself comes from the OS layer: os::pathSeparator.)

// Appends the path separator to a non-empty path that does not end in one.
std::string ensureTrailingSeparator(const std::string& path);

// The text between double quotes, as it stands.
std::string quoted(const std::string& text);

// The signed decimal text of a 32-bit number.
std::string decimal(int32_t number);
// The decimal text of a number that is not negative, with leading zeros to
// at least digits digits.
std::string paddedDecimal(int number, size_t digits);
// The lower-case hexadecimal text of the lowest digits digits of value.
// (Written here, not by printf: the Windows C library's printf reads "%llx"
// only from Windows XP on, and the one linked instead was 25 KB.)
std::string hexDigits(uint64_t value, size_t digits);

// Read 4 or 2 bytes as a big-endian number; fewer bytes throw
// LauncherException with the caller's message.
uint32_t readBigEndian32(std::FILE* file, const std::string& message);
uint16_t readBigEndian16(std::FILE* file, const std::string& message);

// Whether a names a newer version than b (the order to try a vendor's JDKs
// in): runs of digits compare as numbers ("21" before "9"), the rest as text.
bool newerVersionFirst(const std::string& a, const std::string& b);
