// The Windows 95 family's splitting of the ANSI command line, fed any bytes:
// - no token is empty, and the program path never keeps a quote (it has no
//   escapes, so a quote there only groups);
// - blanks in front of the line change nothing;
// - tokens written back in quotes, quotes escaped, split to the same tokens,
//   for every token the rules can express at all: a backslash right before
//   a quote, or one at the very end, always escapes the quote that follows
//   (or is dropped), so such a token has no written form.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/command_line.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

bool expressible(const std::string& token) {
  return !token.empty() && token.back() != '\\' && token.find("\\\"") == std::string::npos;
}

std::string quoted(const std::string& token) {
  std::string text = "\"";
  for (const char c : token) {
    if (c == '"') text += '\\';
    text += c;
  }
  return text + "\"";
}

// The program path first (no escapes: it may hold anything but a quote),
// then the other tokens.
void checkRoundTrip(const std::string& program, const std::vector<std::string>& tokens) {
  std::vector<std::string> expected = {program};
  std::string line = "\"" + program + "\"";
  for (const std::string& token : tokens) {
    if (!expressible(token)) continue;
    expected.push_back(token);
    line += " " + quoted(token);
  }
  check(splitWindows95CommandLine(line) == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  const std::vector<std::string> tokens = splitWindows95CommandLine(input);
  for (const std::string& token : tokens) check(!token.empty());
  if (!tokens.empty()) check(tokens[0].find('"') == std::string::npos);
  check(splitWindows95CommandLine(" \t" + input) == tokens);

  if (!tokens.empty()) checkRoundTrip(tokens[0], std::vector<std::string>(tokens.begin() + 1, tokens.end()));

  // The input cut at zero bytes into tokens of its own.
  std::vector<std::string> pieces;
  size_t start = 0;
  for (;;) {
    const size_t zero = input.find('\0', start);
    pieces.push_back(input.substr(start, zero - start));
    if (zero == std::string::npos) break;
    start = zero + 1;
  }
  checkRoundTrip("C:\\Program Files\\app.exe", pieces);
  return 0;
}
