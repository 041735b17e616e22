// Command-line splitting. Only portable code; the platform's own splitting
// comes from the OS layer.

#include "base/command_line.h"

#include "base/settings.h"
#include "base/text.h"
#include "os/command_line.h"

namespace {

size_t skipSpaces(const std::string& line, size_t pos) {
  while (pos < line.size() && isSpace(line[pos])) ++pos;
  return pos;
}

// Reads one token at pos into token and returns where reading stopped.
size_t readToken(const std::string& line, size_t pos, bool escapes, std::string& token) {
  pos = skipSpaces(line, pos);
  bool quoted = false;
  if (pos < line.size() && line[pos] == '"') {
    quoted = true;
    ++pos;
  }
  bool escapePending = false;
  while (pos < line.size()) {
    const char c = line[pos];
    if (escapes && !escapePending && c == '\\') {
      escapePending = true;
      ++pos;
    } else if (escapePending) {
      escapePending = false;
      // A path such as C:\TEMP\ ends its token: the backslash keeps the
      // blank after it from nothing, and the next argument stays apart.
      if (!quoted && isSpace(c)) {
        token += '\\';
        return pos;
      }
      if (c != '"') token += '\\';
      token += c;
      ++pos;
    } else if (quoted) {
      ++pos;
      if (c == '"') return pos;
      token += c;
    } else if (isSpace(c)) {
      return pos;
    } else if (c == '"') {
      std::string nested;
      pos = readToken(line, pos, escapes, nested);
      token += nested;
      if (pos >= line.size()) return pos;
    } else {
      token += c;
      ++pos;
    }
  }
  return pos;  // an escape still pending at the end of the line is dropped
}

}  // namespace

std::string quoteWindows95Argument(const std::string& argument) {
  std::string quoted;
  size_t i = 0;
  while (i < argument.size()) {
    // Blanks, and the backslashes right before them, are written inside
    // quotes: outside, a backslash would take the quote for a literal one.
    size_t runEnd = i;
    while (runEnd < argument.size() && argument[runEnd] == '\\') ++runEnd;
    if (runEnd < argument.size() && isSpace(argument[runEnd])) {
      while (runEnd < argument.size() && isSpace(argument[runEnd])) ++runEnd;
      quoted += '"' + argument.substr(i, runEnd - i) + '"';
      i = runEnd;
      continue;
    }
    if (argument[i] == '"') quoted += '\\';
    quoted += argument[i++];
  }
  return quoted;
}

std::vector<std::string> splitWindows95CommandLine(const std::string& line) {
  std::vector<std::string> tokens;
  size_t pos = skipSpaces(line, 0);
  while (pos < line.size()) {
    std::string token;
    pos = readToken(line, pos, !tokens.empty(), token);
    if (!token.empty()) tokens.push_back(token);
    pos = skipSpaces(line, pos);
  }
  return tokens;
}

bool CommandLine::split() {
  arguments_ = settings().windows95Family ? splitWindows95CommandLine(os::ansiCommandLine())
                                          : os::platformArguments();
  return true;
}

const char* CommandLine::argument(int32_t i) const {
  if (i < 0 || i >= count()) return nullptr;
  return arguments_[static_cast<size_t>(i)].c_str();
}
