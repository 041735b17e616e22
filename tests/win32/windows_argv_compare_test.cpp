// The portable splitter against the system's own CommandLineToArgvW, which
// the POSIX build imitates: on a list of hard cases and on every short line
// over the characters that matter.

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "os/windows_argv.h"

namespace {

using Args = std::vector<std::string>;

std::wstring wide(const std::string& text) {
  const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring result(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &result[0], size);
  result.resize(static_cast<size_t>(size > 0 ? size - 1 : 0));
  return result;
}

std::string narrow(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, &result[0], size, nullptr, nullptr);
  result.resize(static_cast<size_t>(size > 0 ? size - 1 : 0));
  return result;
}

Args systemSplit(const std::string& line) {
  Args arguments;
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(wide(line).c_str(), &count);
  if (!list) return {"CommandLineToArgvW failed"};
  for (int i = 0; i < count; ++i) arguments.push_back(narrow(list[i]));
  LocalFree(list);
  return arguments;
}

// Bytes that survive the trip through the ANSI code page and back.
const char kNonAscii[] = "\xE9\xC3\xA9\xFF";

TEST(WindowsArgvCompare, HardCasesSplitAsTheSystemSplitsThem) {
  const std::vector<std::string> lines = {
      "p",
      "   ",
      "\t",
      "\"\"",
      "\"",
      "\"\" a",
      "p \"\" \"\" \"\"",
      "p \t a \t ",
      "p a\tb\t\"c\td\"",
      "\"C:\\Program Files\\x\\p.exe\" -a -b",
      "\"C:\\dir\\\" next",
      "C:\\dir\\p.exe\\ x",
      "a\"b c",
      "\"a b\"c d",
      "\"a b",
      "a\vb\nc\rd e",
      "p a\\b c\\\\d e\\",
      "p a\\\"b",
      "p a\\\\\"b c\"",
      "p a\\\\\\\"b \\\\\" c\" d\\",
      "p \"trailing\\\\\"",
      "p \"inner \\\" quote\"",
      "p a\"\"\"b c",
      "p \"a\"\"b\" c",
      "p \"\"\"\" x",
      "p \"\"\"\"\" x",
      "p \"\"\"\"\"\" x",
      "p \"\"\"\"\"\"\" x",
      "p \\\"\"a b",
      "p \\\\\"\"\"a b",
      "p \"a\\\"\" b",
      "p \"unterminated \\",
      std::string("p \"") + kNonAscii + " x\" " + kNonAscii,
      std::string(kNonAscii) + " " + kNonAscii + "\\\"",
  };
  for (const std::string& line : lines)
    EXPECT_EQ(os::splitWindowsCommandLine(line), systemSplit(line)) << "[" << line << "]";
}

TEST(WindowsArgvCompare, EveryShortLineOverTheCharactersThatMatterSplitsAlike) {
  const char alphabet[] = {'a', ' ', '\t', '"', '\\'};
  std::vector<std::string> lines = {""};
  for (size_t length = 1; length <= 6; ++length) {
    std::vector<std::string> longer;
    for (const std::string& line : lines)
      for (const char c : alphabet) longer.push_back(line + c);
    lines.swap(longer);
    for (const std::string& line : lines) {
      // As the program name and as the arguments after one.
      ASSERT_EQ(os::splitWindowsCommandLine(line), systemSplit(line)) << "[" << line << "]";
      ASSERT_EQ(os::splitWindowsCommandLine("p " + line), systemSplit("p " + line))
          << "[p " << line << "]";
    }
  }
}

TEST(WindowsArgvCompare, QuotedArgumentsComeBackFromTheSystemWhole) {
  const Args arguments = {"",      " ",         "\"",        "\"\"\"",   "\\",       "\\\"",
                          "a\\\\\"b", "x y\\\\", "\" x \"", "\\\\\" \"", kNonAscii, "tab\there"};
  std::string line = "p";
  Args expected = {"p"};
  for (const std::string& argument : arguments) {
    line += " " + os::quoteWindowsArgument(argument);
    expected.push_back(argument);
  }
  EXPECT_EQ(systemSplit(line), expected) << line;
}

}  // namespace
