#include <gtest/gtest.h>

#include "base/command_line.h"

using Args = std::vector<std::string>;

TEST(Windows95CommandLine, QuotesGroupAndNestInsideTokens) {
  EXPECT_EQ(splitWindows95CommandLine("prog a\"b c\"d"), (Args{"prog", "ab cd"}));
  EXPECT_EQ(splitWindows95CommandLine("  prog\t one  two \r\n"), (Args{"prog", "one", "two"}));
  EXPECT_EQ(splitWindows95CommandLine(""), Args{});
}

TEST(Windows95CommandLine, ProgramPathKeepsBackslashesLaterTokensEscape) {
  EXPECT_EQ(splitWindows95CommandLine("\"C:\\Program Files\\app\\run.exe\" \\\"x\\\" a\\b"),
            (Args{"C:\\Program Files\\app\\run.exe", "\"x\"", "a\\b"}));
}

TEST(Windows95CommandLine, QuotedArgumentEndingInBackslashRunsOn) {
  // The backslash before the closing quote makes it a literal quote, so the
  // argument runs on to the next unescaped quote.
  EXPECT_EQ(splitWindows95CommandLine("p \"C:\\dir\\\" next\" last"),
            (Args{"p", "C:\\dir\" next", "last"}));
  // Without another quote it runs to the end of the line.
  EXPECT_EQ(splitWindows95CommandLine("p \"C:\\dir\\\" rest"), (Args{"p", "C:\\dir\" rest"}));
}

// A path ending in a backslash does not swallow the blank and the next
// argument; and what a launcher hands a nested one on this family comes back.
TEST(Windows95CommandLine, ABackslashBeforeABlankEndsTheTokenAndArgumentsRoundTrip) {
  EXPECT_EQ(splitWindows95CommandLine("app.exe -qm:tempdir C:\\TEMP\\ -qm:log x.log"),
            (Args{"app.exe", "-qm:tempdir", "C:\\TEMP\\", "-qm:log", "x.log"}));
  const Args arguments = {"C:\\dir\\", "two words", "a\"b", "tab\tin", "\\\\server\\share",
                          "C:\\my dir\\", "end \\ space\\ ", "%PATH%", "x"};
  std::string line = "prog.exe";
  for (const std::string& argument : arguments) line += ' ' + quoteWindows95Argument(argument);
  Args expected = {"prog.exe"};
  expected.insert(expected.end(), arguments.begin(), arguments.end());
  EXPECT_EQ(splitWindows95CommandLine(line + ' '), expected) << line;
}

TEST(Windows95CommandLine, EmptyQuotedArgumentsAreDroppedAndPendingEscapesToo) {
  EXPECT_EQ(splitWindows95CommandLine("p \"\" x"), (Args{"p", "x"}));
  EXPECT_EQ(splitWindows95CommandLine("p x\\"), (Args{"p", "x"}));
  EXPECT_EQ(splitWindows95CommandLine("p \"open"), (Args{"p", "open"}));
}

TEST(Windows95CommandLine, NestedQuoteRunningToTheEndFinishesTheToken) {
  EXPECT_EQ(splitWindows95CommandLine("p a\"b c"), (Args{"p", "ab c"}));
}
