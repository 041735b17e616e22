// Windows' splitting of command lines and the quoting that survives it. The
// expected lists were taken from CommandLineToArgvW under Wine; the Windows
// suite compares the two directly (win32/windows_argv_compare_test.cpp).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "os/windows_argv.h"

namespace {

using Args = std::vector<std::string>;
using os::quoteWindowsArgument;
using os::splitWindowsCommandLine;

TEST(WindowsArgv, TheProgramNameKnowsNoEscapes) {
  EXPECT_EQ(splitWindowsCommandLine("\"C:\\my dir\\\" x"), (Args{"C:\\my dir\\", "x"}));
  EXPECT_EQ(splitWindowsCommandLine("C:\\dir\\p.exe\\ x"), (Args{"C:\\dir\\p.exe\\", "x"}));
  // Unquoted it runs to a space or tab only, quotes and other blanks included.
  EXPECT_EQ(splitWindowsCommandLine("a\"b c"), (Args{"a\"b", "c"}));
  EXPECT_EQ(splitWindowsCommandLine("a\vb\nc\td"), (Args{"a\vb\nc", "d"}));
  // Quoted it ends at the next quote, and what follows starts an argument.
  EXPECT_EQ(splitWindowsCommandLine("\"a b\"c d"), (Args{"a b", "c", "d"}));
  EXPECT_EQ(splitWindowsCommandLine("\"a b"), (Args{"a b"}));
}

TEST(WindowsArgv, BlanksSeparateAndEmptyArgumentsNeedQuotes) {
  EXPECT_EQ(splitWindowsCommandLine(""), Args{});
  EXPECT_EQ(splitWindowsCommandLine("   "), Args{""});
  EXPECT_EQ(splitWindowsCommandLine("p \t a\t\tb  "), (Args{"p", "a", "b"}));
  EXPECT_EQ(splitWindowsCommandLine("p \"\" \"\""), (Args{"p", "", ""}));
  EXPECT_EQ(splitWindowsCommandLine("p a\" \"b \"c"), (Args{"p", "a b", "c"}));
  // The system sees a zero-terminated text.
  EXPECT_EQ(splitWindowsCommandLine(std::string("p a\0b", 5)), (Args{"p", "a"}));
}

TEST(WindowsArgv, BackslashesCountOnlyBeforeAQuote) {
  EXPECT_EQ(splitWindowsCommandLine("p a\\b\\\\c d\\"), (Args{"p", "a\\b\\\\c", "d\\"}));
  EXPECT_EQ(splitWindowsCommandLine("p a\\\"b"), (Args{"p", "a\"b"}));
  EXPECT_EQ(splitWindowsCommandLine("p a\\\\\"b c\""), (Args{"p", "a\\b c"}));
  EXPECT_EQ(splitWindowsCommandLine("p a\\\\\\\"b \\\\\" c\" d\\"),
            (Args{"p", "a\\\"b", "\\ c", "d\\"}));
}

TEST(WindowsArgv, QuotesInARowFollowTheThreeForOneRule) {
  EXPECT_EQ(splitWindowsCommandLine("p a\"\"\"b c"), (Args{"p", "a\"b", "c"}));
  EXPECT_EQ(splitWindowsCommandLine("p \"a\"\"b\" c"), (Args{"p", "a\"b c"}));
  EXPECT_EQ(splitWindowsCommandLine("p \"\"\"\" x"), (Args{"p", "\" x"}));
  EXPECT_EQ(splitWindowsCommandLine("p \"\"\"\"\" x"), (Args{"p", "\"", "x"}));
  EXPECT_EQ(splitWindowsCommandLine("p \"\"\"\"\"\" x"), (Args{"p", "\"\"", "x"}));
  // An escaped quote starts a run too.
  EXPECT_EQ(splitWindowsCommandLine("p \\\"\"a b"), (Args{"p", "\"a b"}));
}

TEST(WindowsArgv, QuotingLeavesSimpleArgumentsAlone) {
  EXPECT_EQ(quoteWindowsArgument("plain"), "plain");
  EXPECT_EQ(quoteWindowsArgument("C:\\dir\\"), "C:\\dir\\");
  EXPECT_EQ(quoteWindowsArgument(""), "\"\"");
  EXPECT_EQ(quoteWindowsArgument("a b"), "\"a b\"");
  EXPECT_EQ(quoteWindowsArgument("C:\\my dir\\"), "\"C:\\my dir\\\\\"");
  EXPECT_EQ(quoteWindowsArgument("a\\\"b"), "\"a\\\\\\\"b\"");
}

TEST(WindowsArgv, QuotedArgumentsSplitBackWhole) {
  const Args arguments = {"",        " ",       "\t",        "\"",        "\"\"",      "\"\"\"",
                          "\\",      "\\\\",    "\\\"",      "a\\\\\"b",  "x y\\",     "x y\\\\",
                          "a\"b c",  "\" x \"", "\\\\\" \"", "\xC3\xA9 \xFF", "a\nb", "v\vw"};
  for (const std::string& argument : arguments) {
    EXPECT_EQ(splitWindowsCommandLine("p " + quoteWindowsArgument(argument)), (Args{"p", argument}))
        << quoteWindowsArgument(argument);
  }
  std::string line = "p";
  for (const std::string& argument : arguments) line += " " + quoteWindowsArgument(argument);
  Args all = {"p"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  EXPECT_EQ(splitWindowsCommandLine(line), all);
  // A zero byte would end the command line; the argument is cut there.
  EXPECT_EQ(quoteWindowsArgument(std::string("a\0 b", 4)), "a");
}

}  // namespace
