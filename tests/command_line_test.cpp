#include <gtest/gtest.h>

#include "launcher/command_line.h"

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

TEST(Windows95CommandLine, EmptyQuotedArgumentsAreDroppedAndPendingEscapesToo) {
  EXPECT_EQ(splitWindows95CommandLine("p \"\" x"), (Args{"p", "x"}));
  EXPECT_EQ(splitWindows95CommandLine("p x\\"), (Args{"p", "x"}));
  EXPECT_EQ(splitWindows95CommandLine("p \"open"), (Args{"p", "open"}));
}

TEST(Windows95CommandLine, NestedQuoteRunningToTheEndFinishesTheToken) {
  EXPECT_EQ(splitWindows95CommandLine("p a\"b c"), (Args{"p", "ab c"}));
}
