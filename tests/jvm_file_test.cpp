#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jvm/jvm_match.h"
#include "jvm/jvm_properties.h"
#include "jvm/jvm_search.h"
#include "launch/literal_text.h"
#include "launch_fixture.h"
#include "launcher/launcher_run.h"

namespace {

class JvmFileTest : public LaunchFixture {};

TEST_F(JvmFileTest, TagValuesReplaceTheirMarkers) {
  jvmTags_.setValue("JVM_HOME", "C:\\jdk\\");
  jvmTags_.setValue("JVM_EXE", "bin\\java.exe\\");
  jvmTags_.addValue("LIST", "first");
  jvmTags_.addValue("LIST", "second");
  EXPECT_EQ(openLiterals(jvm_.substituteValues("@JVM_HOME@\\@JVM_EXE@ [@NO_SUCH_TAG@] @LIST@")),
            "C:\\jdk\\bin\\java.exe\\ [] first");
  jvmTags_.setValue("JVM_HOME", "C:\\jdk\\\\");  // only one separator goes
  EXPECT_EQ(openLiterals(jvm_.substituteValues("@JVM_HOME@")), "C:\\jdk\\");
}

TEST_F(JvmFileTest, PropertyPatternsAndTheirMatching) {
  for (const char* pattern :
       {"java.vendor = Sun Microsystems...", "java.version", "a=b=c", "\tempty=\r\n"})
    jvmTags_.addValue("JVM_PROPERTIES", pattern);
  takeLog();
  const std::vector<PropertyPattern> patterns = propertyPatterns(jvm_);
  ASSERT_EQ(patterns.size(), 3u);
  EXPECT_EQ(patterns[0].name + "|" + patterns[0].expected, "java.vendor|Sun Microsystems...");
  EXPECT_EQ(patterns[1].name + "|" + patterns[1].expected, "a|b=c");
  EXPECT_EQ(patterns[2].name + "|" + patterns[2].expected, "empty|");
  EXPECT_EQ(takeLog(),
            "WARNING: Invalid JVM_PROPERTIES setting (java.version) in JVM File test.jvm\n");

  for (const auto& [expected, reported] : std::vector<std::pair<std::string, std::string>>{
           {"1.4...", "1.4.2"},
           {"1.4...", "1.40"},
           {"1.4...", "1.4"},
           {"Sun Microsystems...", "Sun Microsystems Inc."},
           {"...", "anything"},
           {"...", ""},
           {"a...b", "a...b"},
           {"1.4", "1.4"},
           {"null", "null"},
           // Versions from one on, or in a closed range; 1.8 is 8.
           {"17+", "17"},
           {"17+", "22"},
           {"17+", "26"},
           {"17+", "17.0.2"},
           {"8+", "1.8"},
           {"1.8+", "11"},
           {"11..21", "21"},
           {"11..21", "11.0.22"},
           {"8..11", "1.8.0_392"},
           {"11..21", "21.0.1"}})
    EXPECT_TRUE(propertyValueMatches(expected, reported)) << expected << " " << reported;
  for (const auto& [expected, reported] :
       std::vector<std::pair<std::string, std::string>>{{"1.4...", "1.3.1"},
                                                        {"Sun...", "sun Inc."},
                                                        {"a...b", "axxb"},
                                                        {"1.4", "1.4.1"},
                                                        {"", "null"},
                                                        {"17+", "16"},
                                                        {"17+", "1.8"},
                                                        {"17+", "null"},
                                                        {"11..21", "22"},
                                                        {"17+x", "18"}})
    EXPECT_FALSE(propertyValueMatches(expected, reported)) << expected << " " << reported;
}

TEST_F(JvmFileTest, WritingAMatchRecordsItInTheSharedTagFile) {
  jvmTags_.setValue("DESC", "Java 1.4");
  JvmMatch first("C:\\j2re1.4.1", jvmTags_);
  JvmMatch second("D:\\jre", jvmTags_);
  second.setFoundRelativeToLauncher(true);
  const std::string firstPath = first.writeJvmFile(testTemp());
  const std::string secondPath = second.writeJvmFile(testTemp());
  ASSERT_NE(firstPath, secondPath);
  EXPECT_EQ(testTemp().cleanupList().files(), (std::vector<std::string>{firstPath, secondPath}));
  const TagFile written(firstPath), rewritten(secondPath);
  EXPECT_EQ(
      written.value("DESC") + "|" + written.value("JVM_HOME") + "|" + written.value("JVM_TEMP"),
      "Java 1.4|C:\\j2re1.4.1|0");
  EXPECT_EQ(written.value("JVM_FILE"), firstPath);
  EXPECT_EQ(rewritten.value("JVM_FILE") + "|" + rewritten.value("JVM_TEMP"), secondPath + "|1");
  // The JvmFile sees the same tag file, now holding the second match.
  EXPECT_EQ(openLiterals(jvm_.substituteValues("@JVM_HOME@|@JVM_FILE@")), "D:\\jre|" + secondPath);
}

TEST_F(JvmFileTest, JvmFilesJoinTheSearchInLoadOrderUnderTheirNames) {
  useLauncher({{JVM, "java14.jvm", "DESC: embedded\n"},
               {LAUNCHSCRIPT, "launch.txt", "DESC: Title\nCOMMAND: run\n"}});
  const auto& embedded = testRun().jvmSearch().jvmFiles();
  ASSERT_EQ(embedded.size(), 1u);
  EXPECT_EQ(embedded[0]->name(), "java14.jvm");
  ASSERT_NE(testRun().launchScriptInUse(), nullptr);
  EXPECT_EQ(testRun().launchScriptInUse()->command(), "run");
  EXPECT_EQ(app_.title, "Title");

  newTestRun();
  TagFile input;
  for (const char* name : {"a.jvm", "b.jvm"}) {
    writeWholeFile(dir_.file(name), std::string("DESC: ") + name + "\n");
    input.addValue("JVM", dir_.file(name));
  }
  testRun().loadInputFile(input);
  const auto& given = testRun().jvmSearch().jvmFiles();
  ASSERT_EQ(given.size(), 2u);
  EXPECT_EQ(given[0]->name(), dir_.file("a.jvm"));
  EXPECT_EQ(given[1]->tagFile().value("DESC"), "b.jvm");
  EXPECT_EQ(testRun().jvmFiles(),
            (std::vector<const TagFile*>{&given[0]->tagFile(), &given[1]->tagFile()}));
}

}  // namespace
