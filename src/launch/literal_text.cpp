// Sealing data values against marker expansion, and opening them again.

#include "launch/literal_text.h"

#include <algorithm>

#include "base/text.h"
#include "os/path.h"

namespace {

// Control bytes that no path or command template holds: one opens a sealed
// value, one closes it, and one introduces a byte of the value written as
// two hex digits.
constexpr char kOpen = '\x02';
constexpr char kClose = '\x03';
constexpr char kEscape = '\x10';

bool needsEscape(char c) {
  return c == '%' || c == '@' || c == '#' || c == '"' || c == kOpen || c == kClose ||
         c == kEscape;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The sealed value from position (just after kOpen) to its kClose; position
// is left after the kClose.
std::string unseal(const std::string& text, size_t& position) {
  std::string value;
  while (position < text.size() && text[position] != kClose) {
    if (text[position] == kEscape && position + 2 < text.size()) {
      const int high = hexValue(text[position + 1]);
      const int low = hexValue(text[position + 2]);
      value += static_cast<char>(high * 16 + low);
      position += 3;
    } else {
      value += text[position++];
    }
  }
  if (position < text.size()) ++position;
  return value;
}

size_t trailingBackslashes(const std::string& text) {
  size_t count = 0;
  while (count < text.size() && text[text.size() - 1 - count] == '\\') ++count;
  return count;
}

}  // namespace

std::string literalText(const std::string& value) {
  if (value.empty()) return value;
  std::string sealed(1, kOpen);
  for (char c : value) {
    if (!needsEscape(c)) {
      sealed += c;
      continue;
    }
    sealed += kEscape;
    sealed += hexDigits(static_cast<unsigned char>(c), 2);
  }
  return sealed + kClose;
}

std::string literalPath(const std::string& path) { return literalText(os::childReadablePath(path)); }

std::string sealMarkerBytes(const std::string& text) {
  auto isMarker = [](char c) { return c == kOpen || c == kClose || c == kEscape; };
  // Every template and value passes here and almost none holds a marker byte.
  if (std::none_of(text.begin(), text.end(), isMarker)) return text;
  std::string sealed;
  for (char c : text) {
    if (isMarker(c))
      sealed += literalText(std::string(1, c));
    else
      sealed += c;
  }
  return sealed;
}

std::string openLiteralsAsTheyAre(const std::string& text) {
  std::string result;
  size_t position = 0;
  while (position < text.size()) {
    if (text[position] != kOpen) {
      result += text[position++];
      continue;
    }
    ++position;
    result += unseal(text, position);
  }
  return result;
}

std::string openLiterals(const std::string& command) {
  std::string result;
  // The program name runs to its closing quote with no escapes; quoting
  // state counts from the first argument on.
  bool inProgramName = !command.empty() && command.front() == '"';
  bool quoted = false;
  size_t position = inProgramName ? 1 : 0;
  if (inProgramName) result += '"';
  while (position < command.size()) {
    const char c = command[position];
    if (c == kOpen) {
      ++position;
      const std::string value = unseal(command, position);
      if (inProgramName || !quoted) {
        result += value;
        continue;
      }
      for (char v : value) {
        // A quote of the value is escaped, and so is every backslash
        // standing before it, the template's own included.
        if (v == '"') result.append(trailingBackslashes(result), '\\').append("\\\"");
        else result += v;
      }
      // Backslashes that end the value would escape the closing quote.
      if (position < command.size() && command[position] == '"')
        result.append(trailingBackslashes(value), '\\');
      continue;
    }
    if (c == '"') {
      if (inProgramName) inProgramName = false;
      else if (trailingBackslashes(result) % 2 == 0) quoted = !quoted;
    }
    result += c;
    ++position;
  }
  return result;
}
