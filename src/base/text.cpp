// Text utilities shared by every reader of script text. Only portable code.

#include "base/text.h"

#include <cctype>
#include <cstring>

#include "base/exceptions.h"
#include "os/path.h"

const char kFormatSpaces[] = " \t\n\r";

static std::string quoteError(size_t pos) {
  return "Expected double quote to end argument near " +
         decimal(static_cast<int32_t>(pos));
}

std::string readArgument(const std::string& text, size_t& pos, bool quoted) {
  std::string result;
  if (!quoted) {
    size_t space = text.find_first_of(kFormatSpaces, pos);
    if (space == std::string::npos) {
      result = pos < text.size() ? text.substr(pos) : std::string();
      pos = kNoPosition;
    } else {
      result = text.substr(pos, space - pos);
      pos = space;
    }
    return result;
  }
  for (;;) {
    size_t quote = text.find('"', pos);
    if (quote == std::string::npos) throw LauncherException(quoteError(pos));
    if (quote + 1 >= text.size() || text[quote + 1] != '"') {
      result.append(text, pos, quote - pos);
      pos = quote + 1;
      break;
    }
    if (quote + 2 >= text.size()) {
      pos = kNoPosition;
      throw LauncherException(quoteError(pos));
    }
    result.append(text, pos, quote + 1 - pos);
    pos = quote + 2;
  }
  if (pos >= text.size()) pos = kNoPosition;
  return result;
}

static bool isCSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string readWord(const std::string& text, size_t& pos) {
  while (pos < text.size() && isCSpace(text[pos])) ++pos;
  std::string word;
  while (pos < text.size() && !isCSpace(text[pos])) word += text[pos++];
  ++pos;  // one past the character that stopped the word, or past the end
  return word;
}

std::string readLine(std::FILE* file, bool* hitEnd) {
  std::string line;
  int c;
  while ((c = std::getc(file)) != EOF && c != '\n') {
    if (c != '\r') line += static_cast<char>(c);
  }
  if (hitEnd) *hitEnd = c == EOF;
  trim(line);
  return line;
}

void readLine(const std::string& text, size_t& pos, std::string& output) {
  if (pos >= text.size()) return;
  while (pos < text.size() && text[pos] != '\n') {
    if (text[pos] != '\r') output += text[pos];
    ++pos;
  }
  ++pos;
  trim(output);
}

void trim(std::string& text, const char* set) {
  // Every line of every script is trimmed at start-up: the format's own set
  // is tested directly rather than searched for each character.
  const bool formatSet = set == kFormatSpaces;
  auto inSet = [set, formatSet](char c) {
    return formatSet ? isSpace(c) : c != '\0' && std::strchr(set, c) != nullptr;
  };
  size_t end = text.size();
  while (end > 0 && inSet(text[end - 1])) --end;
  size_t start = 0;
  while (start < end && inSet(text[start])) ++start;
  text.erase(end);
  text.erase(0, start);
}

long endsWith(const std::string& text, const std::string& suffix) {
  size_t found = text.rfind(suffix);
  if (found == std::string::npos || text.size() < suffix.size()) return -1;
  if (found != text.size() - suffix.size()) return -1;
  return static_cast<long>(found);
}

std::string ensureTrailingSeparator(const std::string& path) {
  const char separator = os::pathSeparator();
  if (path.empty() || path.back() == separator) return path;
  return path + separator;
}

std::string quoted(const std::string& text) { return '"' + text + '"'; }

std::string decimal(int32_t number) { return std::to_string(number); }

std::string paddedDecimal(int number, size_t digits) {
  const std::string text = std::to_string(number);
  return text.size() >= digits ? text : std::string(digits - text.size(), '0') + text;
}

std::string hexDigits(uint64_t value, size_t digits) {
  std::string text(digits, '0');
  for (size_t i = digits; i > 0; --i, value >>= 4) text[i - 1] = "0123456789abcdef"[value & 15];
  return text;
}

static uint32_t readBigEndian(std::FILE* file, int width, const std::string& message) {
  uint32_t value = 0;
  for (int i = 0; i < width; ++i) {
    int c = std::getc(file);
    if (c == EOF) throw LauncherException(message);
    value = (value << 8) | static_cast<uint32_t>(c);
  }
  return value;
}

uint32_t readBigEndian32(std::FILE* file, const std::string& message) {
  return readBigEndian(file, 4, message);
}

uint16_t readBigEndian16(std::FILE* file, const std::string& message) {
  return static_cast<uint16_t>(readBigEndian(file, 2, message));
}

// Whether a names a newer version than b: runs of digits compare as
// numbers ("21" after "9"), the rest as text.
bool newerVersionFirst(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const bool digitA = a[i] >= '0' && a[i] <= '9', digitB = b[j] >= '0' && b[j] <= '9';
    if (digitA && digitB) {
      size_t endA = i, endB = j;
      while (endA < a.size() && a[endA] >= '0' && a[endA] <= '9') ++endA;
      while (endB < b.size() && b[endB] >= '0' && b[endB] <= '9') ++endB;
      const std::string numberA = a.substr(i, endA - i), numberB = b.substr(j, endB - j);
      const size_t zerosA = numberA.find_first_not_of('0'), zerosB = numberB.find_first_not_of('0');
      const std::string valueA = zerosA == std::string::npos ? "" : numberA.substr(zerosA);
      const std::string valueB = zerosB == std::string::npos ? "" : numberB.substr(zerosB);
      if (valueA.size() != valueB.size()) return valueA.size() > valueB.size();
      if (valueA != valueB) return valueA > valueB;
      i = endA;
      j = endB;
    } else {
      if (a[i] != b[j]) return a[i] > b[j];
      ++i;
      ++j;
    }
  }
  return a.size() - i > b.size() - j;
}
