// POSIX message texts come from the built-in table, chosen by the locale
// variables in the order the C library gives them precedence; messages and
// error texts are formed by the same rules as the Windows formatter.
#include "os/text_resources.h"

#include <stdlib.h>
#include <string.h>

#include <cctype>

#include "resources/message_tables.h"

namespace os {

static const char* localeName() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = getenv(variable);
    if (value && *value) return value;
  }
  return nullptr;
}

std::string loadResourceString(int number) {
  const char* text = builtinMessageText(localeName(), number);
  return text ? std::string(text) : std::string();
}

bool formatMessageText(const std::string& pattern, const std::vector<std::string>& inserts,
                       std::string* out) {
  std::string result;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c != '%' || i + 1 >= pattern.size()) {
      result += c;
      continue;
    }
    const char next = pattern[++i];
    if (next == '0') break;  // %0 ends the message without a line end
    if (std::isdigit(static_cast<unsigned char>(next))) {
      size_t number = static_cast<size_t>(next - '0');
      if (i + 1 < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[i + 1])))
        number = number * 10 + static_cast<size_t>(pattern[++i] - '0');
      // An insert may carry a printf format between exclamation marks; the
      // launcher's inserts are all strings.
      if (i + 1 < pattern.size() && pattern[i + 1] == '!') {
        size_t close = pattern.find('!', i + 2);
        if (close == std::string::npos) return false;
        i = close;
      }
      // Inserts the caller did not give read as empty.
      if (number >= 1 && number <= inserts.size()) result += inserts[number - 1];
    } else if (next == 'n') {
      result += '\n';
    } else if (next == 'r') {
      result += '\r';
    } else if (next == 't') {
      result += '\t';
    } else {
      result += next;  // %%, %., %! and %blank stand for the character itself
    }
  }
  if (result.empty()) return false;
  *out = result;
  return true;
}

std::string systemErrorText(unsigned long code) {
  const char* text = strerror(static_cast<int>(code));
  if (!text || strncmp(text, "Unknown error", 13) == 0) return std::string();
  return std::string(text) + "\n";
}

std::string ansiFromUtf16(const std::u16string& text) {
  // The POSIX build's ANSI code page is UTF-8; a lone surrogate has no
  // character and becomes '?', as the Windows conversion's default.
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00u);
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      out += '?';
      continue;
    }
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

}  // namespace os
