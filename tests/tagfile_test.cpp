#include "tagfile/tag_file.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "base/settings.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

using Values = std::vector<std::string>;

class TagFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    settings() = LauncherSettings();
    static unsigned counter = 0;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    dir_ = fs::temp_directory_path() /
           ("tagfile-test-" + std::to_string(std::random_device()()) + "-" +
            std::to_string(now) + "-" + std::to_string(++counter));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    settings() = LauncherSettings();
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  // Binary, so that the line ends in the file are exactly the test's own.
  std::string put(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
    return path(name);
  }
  static std::string textOf(const std::string& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  TagFile load(const std::string& bytes) const { return TagFile(put("in.tag", bytes)); }

  // Parses a byte range of a file opened as the launcher file is: binary.
  void parseRange(TagFile& tags, const std::string& bytes, long offset, long length,
                  const std::string& source = "embedded.txt") const {
    std::FILE* file = std::fopen(put("launcher.bin", bytes).c_str(), "rb");
    ASSERT_NE(file, nullptr);
    try {
      tags.parse(file, source, offset, length);
    } catch (...) {
      std::fclose(file);
      throw;
    }
    std::fclose(file);
  }

  std::string errorOf(const std::string& bytes) const {
    return thrownMessage([&] { load(bytes); });
  }

  fs::path dir_;
};

TEST_F(TagFileTest, SingleLineValues) {
  struct Case { std::string line, name, value; };
  const Case cases[] = {
      {"NAME:value", "NAME", "value"},
      {"NAME:   value", "NAME", "value"},
      {"NAME: a:b", "NAME", "a:b"},
      {"NAME: \"a\"\"b\" tail", "NAME", "a\"b"},
      {":x", "", "x"},
      {"  NAME X : it's  \"so\"  \r", "NAME X", "it's  \"so\""},
      {"NAME: a\rb", "NAME", "ab"},
      {"CLASSPATH: \"-cp \"", "CLASSPATH", "-cp "},
      {"NAME: \"\"", "NAME", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TagFile tags = load(c.line);
    ASSERT_EQ(tags.tags().size(), 1u);
    EXPECT_EQ(tags.tags()[0].name(), c.name);
    EXPECT_EQ(tags.valueCount(c.name), 1);
    EXPECT_EQ(tags.value(c.name, 0), c.value);
  }
}

TEST_F(TagFileTest, BlocksKeepNonBlankValuesInOrder) {
  TagFile tags = load(
      "DESC: Java\r\n"
      "JVM_PROPERTIES:\r\n"
      "\t\"java.vendor=Maker...\"\r\n"
      "\r\n"
      "\t  two  words: here \r\n"
      "\t\"\"\r\n"
      "\t\"-cp \"\r\n"
      "/:\r\n"
      "LIST:\n  a\n  \"/:\"\n  b: 1\n");
  EXPECT_EQ(tags.tags()[1].values(), (Values{"java.vendor=Maker...", "two  words: here", "-cp "}));
  // The quoted "/:" ends the block, so the next line is a tag line of its own.
  EXPECT_EQ(tags.tags()[2].values(), Values{"a"});
  EXPECT_EQ(tags.value("b"), "1");
  EXPECT_EQ(tags.value("LIST", 1), "");
  EXPECT_EQ(tags.valueCount("NONE"), 0);
}

TEST_F(TagFileTest, RedefinitionReplacesAndMovesToTheEnd) {
  TagFile tags = load("A: 1\nB: 2\nC: 0\nA:\n 3\n 4\n/:\nC:\n\n/:\n");
  ASSERT_EQ(tags.tags().size(), 2u);
  EXPECT_EQ(tags.tags()[0].name(), "B");
  EXPECT_EQ(tags.tags()[1].name(), "A");
  EXPECT_EQ(tags.tags()[1].values(), (Values{"3", "4"}));
  EXPECT_EQ(tags.valueCount("C"), 0);  // an empty block only removes
}

TEST_F(TagFileTest, LookupsStayRightAmongManyTagsAfterRedefinitions) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "T" + std::to_string(i) + ": v" + std::to_string(i) + "\n";
  text += "T10: again\nT20:\n\n/:\n";
  TagFile tags = load(text);
  ASSERT_EQ(tags.tags().size(), 49u);
  EXPECT_EQ(tags.tags().back().name(), "T10");
  for (int i = 0; i < 50; ++i) {
    const std::string name = "T" + std::to_string(i);
    EXPECT_EQ(tags.value(name), i == 10 ? "again" : i == 20 ? "" : "v" + std::to_string(i)) << name;
  }
  // A value set later lands in the tag where it stands; a copy keeps its own.
  TagFile copy = tags;
  tags.setValue("T49", "changed");
  ASSERT_EQ(tags.tags().size(), 49u);
  EXPECT_EQ(tags.tags()[47].values(), (Values{"changed"}));
  EXPECT_EQ(copy.value("T49"), "v49");
  copy.addValue("NEW", "n");
  EXPECT_EQ(copy.tags().back().name(), "NEW");
  EXPECT_EQ(tags.valueCount("NEW"), 0);
}

TEST_F(TagFileTest, SyntaxErrorsNameSourceAndLineAndAreLogged) {
  settings().logFile = path("run.log");
  TagFile tags;
  try {
    parseRange(tags, "\n\nA: 1\nno colon here\nB: 2\n", 0, -1);
    FAIL() << "no error";
  } catch (const LauncherException& e) {
    EXPECT_EQ(e.message(),
              "Syntax error in embedded.txt at line 4 ==> Missing colon at the end of the tag name.");
  }
  EXPECT_EQ(tags.value("A"), "1");
  EXPECT_EQ(tags.valueCount("B"), 0);

  // An unterminated block reports its tag line and keeps what it read; the
  // new parse adds to the tags already there.
  tags.setValue("OLD", "kept");
  tags.setValue("B", "replaced");
  EXPECT_THROW(parseRange(tags, "A: 1\nB:\n x\n\n y\n", 0, -1, "b.tag"), LauncherException);
  EXPECT_EQ(tags.tags()[2].name(), "B");
  EXPECT_EQ(tags.tags()[2].values(), (Values{"x", "y"}));
  EXPECT_EQ(tags.value("OLD"), "kept");
  EXPECT_EQ(errorOf("\nB:\n x"), "Syntax error in " + path("in.tag") +
                                     " at line 2 ==> Missing /: tag completer.");

  EXPECT_EQ(readLogFile(path("run.log")),
            "------------------\n"
            "ERROR: Syntax error in embedded.txt at line 4 ==> Missing colon at the end of the tag name.\n"
            "ERROR: Syntax error in b.tag at line 2 ==> Missing /: tag completer.\n"
            "ERROR: Syntax error in " + path("in.tag") + " at line 2 ==> Missing /: tag completer.\n");
}

TEST_F(TagFileTest, UnterminatedQuotesRaisePlainAndUnlogged) {
  settings().logFile = path("run.log");
  const std::string near = "Expected double quote to end argument near ";
  EXPECT_EQ(errorOf("N: \"abc\n"), near + "4");
  EXPECT_EQ(errorOf("N: \"a\"\"b\n"), near + "7");
  EXPECT_EQ(errorOf("N: \"ab\"\"\n"), near + "-1");
  EXPECT_EQ(errorOf("N:\n\t  \"abc\n/:\n"), near + "1");
  EXPECT_FALSE(fs::exists(path("run.log")));
  EXPECT_EQ(errorOf("x"), "Syntax error in " + path("in.tag") +
                              " at line 1 ==> Missing colon at the end of the tag name.");
}

TEST_F(TagFileTest, FlagReadsLeadingSixteenBitNumber) {
  struct Case { const char* value; bool defaultValue, expected; };
  const Case cases[] = {
      {"1", false, true}, {" 1", false, true}, {"1x", false, true}, {"-3", false, true},
      {"0", true, false}, {"-32768", false, true}, {"yes", true, true}, {"", true, true},
      // Out of 16 bits: not a flag at all, rather than a number cut down.
      {"65536", false, false}, {"65536", true, true}, {"65537", false, false},
      {"123456789012345678901234", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("value '") + c.value + "' default " + (c.defaultValue ? "1" : "0"));
    TagFile tags;
    tags.setValue("F", c.value);
    EXPECT_EQ(tags.flag("F", c.defaultValue), c.expected);
  }
  EXPECT_TRUE(TagFile().flag("MISSING", true));
}

TEST_F(TagFileTest, WriteQuotesOnlyWhatNeedsItAndReadsBack) {
  TagFile tags;
  tags.addValue("NAME", "old");
  tags.addValue("NAME", "older");
  tags.setValue("NAME", " x");
  tags.setValue("Q", "say \"hi\"");
  tags.setValue("PLAIN", "a: b");
  for (const char* value : {"a", "", "b"}) tags.addValue("M", value);
  tags.setValue("E", "");
  tags.setJvmLocation("C:\\jre", "j", false);
  // Written over a longer file: nothing of it may be left behind.
  std::ofstream(path("out.tag")) << std::string(4096, '#') << "\nSTALE:  1\n";
  tags.write(path("out.tag"));
  EXPECT_EQ(textOf(path("out.tag")),
            "NAME:  \" x\"\n"
            "Q:  \"say \"\"hi\"\"\"\n"
            "PLAIN:  a: b\n"
            "M:\n  a\n  \"\"\n  b\n/:\n"
            "E:  \"\"\n"
            "JVM_HOME:  C:\\jre\nJVM_FILE:  j\nJVM_TEMP:  0\n");

  TagFile back(path("out.tag"));
  EXPECT_EQ(back.value("NAME"), " x");
  EXPECT_EQ(back.value("Q"), "say \"hi\"");
  EXPECT_EQ(back.value("PLAIN"), "a: b");
  EXPECT_EQ(back.find("M")->values(), (Values{"a", "b"}));  // the empty value is lost
  EXPECT_EQ(back.valueCount("E"), 1);
}

TEST_F(TagFileTest, SlashColonValueCannotBreakTheWrittenFile) {
  TagFile tags;
  for (const char* value : {"a", "/:", "b"}) tags.addValue("M", value);
  tags.setValue("ONE", "/:");
  tags.setValue("AFTER", "1");
  tags.write(path("out.tag"));

  TagFile back(path("out.tag"));
  EXPECT_EQ(back.find("M")->values(), (Values{"a", "b"}));
  EXPECT_EQ(back.value("ONE"), "/:");
  EXPECT_EQ(back.value("AFTER"), "1");
}

TEST_F(TagFileTest, FileFailures) {
  const std::string missing = path("missing.tag");
  try {
    TagFile tags(missing);
    FAIL() << "no error";
  } catch (const LauncherException& e) {
    EXPECT_EQ(e.message(), "Unable to load input file: " + missing);
  }

  TagFile tags;
  tags.setValue("A", "1");
  const std::string unwritable = path("no-such-dir") + "/out.tag";
  EXPECT_NO_THROW(tags.write(unwritable));
  EXPECT_FALSE(fs::exists(unwritable));

  // A value with a line break would read back as other tags.
  TagFile home;
  home.setValue("JVM_HOME", "/opt/odd\nJVM_EXE: evil");
  EXPECT_EQ(home.write(path("home.tag")), EINVAL);
  EXPECT_FALSE(fs::exists(path("home.tag")));

  settings().logFile = path("run.log");
  try {
    parseRange(tags, "A: 1\n", -1, -1);
    FAIL() << "no error";
  } catch (const LauncherException& e) {
    EXPECT_EQ(e.message(), "Unable to read tag file.");
  }
  EXPECT_FALSE(fs::exists(path("run.log")));
}

TEST_F(TagFileTest, ReadErrorEndsTheInput) {
  // Reading a stream opened only for writing fails without reaching its end.
  std::FILE* file = std::fopen(path("w.tag").c_str(), "w");
  ASSERT_NE(file, nullptr);
  TagFile tags;
  EXPECT_NO_THROW(tags.parse(file, "w.tag", 0, -1));
  std::fclose(file);
  EXPECT_TRUE(tags.tags().empty());
}

TEST_F(TagFileTest, ByteRangeLimitsOnlyLinesOutsideBlocks) {
  const std::string head = "JUNK\n";
  {
    TagFile tags;
    const std::string body = "A: 1\nB: 2";
    parseRange(tags, head + body + "tail\nC: 3\n", head.size(), body.size());
    EXPECT_EQ(tags.value("A"), "1");
    EXPECT_EQ(tags.value("B"), "2tail");  // the last line runs on to its line feed
    EXPECT_EQ(tags.valueCount("C"), 0);
  }
  {
    TagFile tags;
    parseRange(tags, head + "A: 1\nB: 2\n", head.size(), 5);
    EXPECT_EQ(tags.tags().size(), 1u);
  }
  {
    TagFile tags;
    const std::string body = "L:\n x\n";
    parseRange(tags, head + body + " y\n/:\nC: 3\n", head.size(), body.size());
    EXPECT_EQ(tags.find("L")->values(), (Values{"x", "y"}));
    EXPECT_EQ(tags.valueCount("C"), 0);
  }
}

}  // namespace
