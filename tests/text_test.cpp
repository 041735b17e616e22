#include <gtest/gtest.h>

#include <cstdio>

#include "base/exceptions.h"
#include "base/text.h"
#include "os/path.h"
#include "test_support.h"

namespace {

std::string quotedError(const std::string& text, size_t start) {
  size_t pos = start;
  return thrownMessage([&] { readArgument(text, pos, true); });
}

}  // namespace

TEST(VersionOrder, NumbersCompareAsNumbers) {
  std::vector<std::string> names = {"jdk-9", "jdk-17.0.2", "jdk-21", "jdk-17.0.10", "jre-8"};
  std::sort(names.begin(), names.end(), newerVersionFirst);
  EXPECT_EQ(names, (std::vector<std::string>{"jre-8", "jdk-21", "jdk-17.0.10", "jdk-17.0.2", "jdk-9"}));
}

TEST(ReadArgument, QuotedValuesUndoubleQuotesAndStopAtTheFirstSingleQuote) {
  size_t pos = 1;
  EXPECT_EQ(readArgument("\"a\"\"b\"", pos, true), "a\"b");
  EXPECT_EQ(pos, kNoPosition);  // the closing quote was the last character

  pos = 1;
  EXPECT_EQ(readArgument("\"x\" y\"", pos, true), "x");
  EXPECT_EQ(pos, 3u);

  pos = 1;
  EXPECT_EQ(readArgument("\"-cp \"", pos, true), "-cp ");
}

TEST(ReadArgument, QuotedErrorsNameWhereTheSearchStarted) {
  EXPECT_EQ(quotedError("\"abc", 1), "Expected double quote to end argument near 1");
  // A doubled quote at the very end leaves no closing quote: position -1.
  EXPECT_EQ(quotedError("\"ab\"\"", 1), "Expected double quote to end argument near -1");
  EXPECT_EQ(quotedError("\"a\"\"b", 1), "Expected double quote to end argument near 4");
}

TEST(ReadArgument, UnquotedRunsToWhitespaceOrTheEnd) {
  size_t pos = 0;
  EXPECT_EQ(readArgument("whole", pos, false), "whole");
  EXPECT_EQ(pos, kNoPosition);
  pos = 0;
  EXPECT_EQ(readArgument("a\tb", pos, false), "a");
  EXPECT_EQ(pos, 1u);
}

TEST(ReadWord, SkipsCWhitespaceAndEndsPastTheStopper) {
  size_t pos = 0;
  EXPECT_EQ(readWord("   ", pos), "");
  pos = 0;
  EXPECT_EQ(readWord("\v\fFIND_JVM 1", pos), "FIND_JVM");
  EXPECT_EQ(pos, 11u);
  EXPECT_EQ(readWord("\v\fFIND_JVM 1", pos), "1");
}

TEST(ReadLine, FromTextDropsCarriageReturnsAndTrims) {
  const std::string text = "  one\r\ntwo  \nlast";
  size_t pos = 0;
  std::string line;
  readLine(text, pos, line);
  EXPECT_EQ(line, "one");
  line.clear();
  readLine(text, pos, line);
  EXPECT_EQ(line, "two");
  line.clear();
  readLine(text, pos, line);
  EXPECT_EQ(line, "last");
  line = "kept";
  readLine(text, pos, line);  // at the end: output left as it is
  EXPECT_EQ(line, "kept");
}

TEST(ReadLine, FromFileReadsLinesWithoutLineEnds) {
  ScopedTempDir dir;
  writeWholeFile(dir.file("lines"), "first\r\n\tsecond\r\nno end");
  std::FILE* file = std::fopen(dir.file("lines").c_str(), "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(readLine(file), "first");
  EXPECT_EQ(readLine(file), "second");
  EXPECT_EQ(readLine(file), "no end");
  std::fclose(file);
}

TEST(TextHelpers, TrimEndsWithAndSeparators) {
  std::string text = " \t\r\n ";
  trim(text);
  EXPECT_EQ(text, "");
  text = "--x-y--";
  trim(text, "-");
  EXPECT_EQ(text, "x-y");

  EXPECT_EQ(endsWith("ab", "abc"), -1);
  EXPECT_EQ(endsWith("file.jar", ".jar"), 4);
  EXPECT_EQ(endsWith("a.jar.txt", ".jar"), -1);

  const std::string sep(1, os::pathSeparator());
  EXPECT_EQ(ensureTrailingSeparator(""), "");
  EXPECT_EQ(ensureTrailingSeparator("jre"), "jre" + sep);
  EXPECT_EQ(ensureTrailingSeparator("jre" + sep), "jre" + sep);

  EXPECT_EQ(decimal(-2147483647 - 1), "-2147483648");
}

TEST(BigEndian, ReadsFieldsAndReportsShortReads) {
  ScopedTempDir dir;
  writeWholeFile(dir.file("be"), std::string("\xCA\x82\xCA\x82\x00\x10\x7F", 7));
  std::FILE* file = std::fopen(dir.file("be").c_str(), "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(readBigEndian32(file, "x"), 0xCA82CA82u);
  EXPECT_EQ(readBigEndian16(file, "x"), 16u);
  try {
    readBigEndian16(file, "Unable to load the string value.");
    FAIL() << "a one-byte field was read as two";
  } catch (const LauncherException& e) {
    EXPECT_EQ(e.message(), "Unable to load the string value.");
  }
  std::fclose(file);
}
