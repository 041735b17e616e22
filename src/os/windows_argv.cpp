// Splitting a command line by the rules of Windows programs, on every system.

#include "os/windows_argv.h"

namespace os {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> splitWindowsCommandLine(const std::string& commandLine) {
  // The system hands the line on as a zero-terminated text.
  const std::string line = commandLine.substr(0, commandLine.find('\0'));
  std::vector<std::string> arguments;
  if (line.empty()) return arguments;
  const size_t end = line.size();
  size_t i = 0;

  // The program name knows no escapes, so that "C:\dir\" names a directory.
  std::string program;
  if (line[0] == '"') {
    for (i = 1; i < end && line[i] != '"'; ++i) program += line[i];
    if (i < end) ++i;
  } else {
    for (; i < end && !isBlank(line[i]); ++i) program += line[i];
  }
  arguments.push_back(program);
  while (i < end && isBlank(line[i])) ++i;
  if (i == end) return arguments;

  std::string current;
  int quotes = 0;  // 1 inside quotes; counts up to 3 in a run of quotes
  size_t backslashes = 0;
  while (i < end) {
    const char c = line[i];
    if (isBlank(c) && quotes == 0) {
      arguments.push_back(current);
      current.clear();
      backslashes = 0;
      while (i < end && isBlank(line[i])) ++i;
      if (i == end) return arguments;
    } else if (c == '\\') {
      current += c;
      ++backslashes;
      ++i;
    } else if (c == '"') {
      // The backslashes before a quote were copied as they came; half of
      // them stay, and an odd one out makes the quote literal.
      current.resize(current.size() - backslashes / 2);
      if (backslashes % 2 == 0) {
        ++quotes;
      } else {
        current.back() = '"';
      }
      ++i;
      backslashes = 0;
      for (; i < end && line[i] == '"'; ++i) {
        if (++quotes == 3) {
          current += '"';
          quotes = 0;
        }
      }
      if (quotes == 2) quotes = 0;
    } else {
      current += c;
      backslashes = 0;
      ++i;
    }
  }
  arguments.push_back(current);
  return arguments;
}

std::string quoteWindowsArgument(const std::string& argument) {
  const std::string text = argument.substr(0, argument.find('\0'));
  if (!text.empty() && text.find_first_of(" \t\n\v\"") == std::string::npos) return text;
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (const char c : text) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count only before a quote: there each one is doubled and
    // the quote itself escaped.
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    quoted += c;
    backslashes = 0;
  }
  // The closing quote must not be escaped by the argument's own backslashes.
  quoted.append(2 * backslashes, '\\');
  quoted += '"';
  return quoted;
}

}  // namespace os
