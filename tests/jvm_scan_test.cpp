// The exhaustive disk scan over a generated tree of fake drives: what the
// walk proposes and skips, how candidates are grouped and verified, and
// the order of the results.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_jvm.h"
#include "jvm/executable_name.h"
#include "jvm/jvm_scan_walker.h"
#include "jvm/jvm_search.h"
#include "jvm/jvm_search_testing.h"
#include "launch/launch_context.h"
#include "temp/temp.h"

namespace fs = std::filesystem;

namespace {

// Remembers every executable the walk proposes.
class RecordingSearch : public JvmSearch {
public:
  explicit RecordingSearch(LaunchContext* launch) : JvmSearch(launch) {}
  bool onCandidate(const std::string& path) override {
    proposed.push_back(path);
    return JvmSearch::onCandidate(path);
  }
  std::vector<std::string> proposed;
};

class JvmScanTest : public FakeJvmFixture {
protected:
  void SetUp() override {
    FakeJvmFixture::SetUp();
    launch_.temp = &testTemp();  // the test's own, whose root the walk must skip
    search_.setVerifier("\"verify.jar\"", "\"Verify\"");
    for (const char* name : {"C", "D", "E"}) fs::create_directories(drive(name));
    overrideFixedDrives({drive("C"), drive("D"), drive("E")});
  }
  void TearDown() override {
    restoreFixedDrives();
    FakeJvmFixture::TearDown();
  }

  std::string drive(const std::string& name) const { return disks_.file(name); }
  // A path below a drive, written with / and given with the platform's separator.
  std::string at(const std::string& driveName, const std::string& relative) const {
    return drive(driveName) + os::pathSeparator() + platformPath(relative);
  }
  std::string good(const std::string& home) {
    makeFakeJvm(home, verifierOutput("Sun Microsystems Inc.", "1.4.2"));
    return home;
  }
  std::string executableOf(const std::string& home) const {
    return home + os::pathSeparator() + fakeJvmExe();
  }

  TagFile& addJvmFile(const std::string& description, const std::string& exe = fakeJvmExe()) {
    tagFiles_.emplace_back();
    TagFile& tags = tagFiles_.back();
    tags.setValue("DESC", description);
    tags.setValue("JVM_EXE", exe);
    tags.addValue("JVM_PROPERTIES", "java.vendor=Sun Microsystems...");
    search_.addJvmFile(std::unique_ptr<JvmFile>(new JvmFile(tags, description + ".jvm")));
    return tags;
  }

  std::vector<std::string> homesOf(const JvmMatches& results) const {
    std::vector<std::string> homes;
    for (const auto& match : results) homes.push_back(match->home());
    return homes;
  }

  ScopedTempDir disks_;
  std::deque<TagFile> tagFiles_;
  LaunchContext launch_;
  RecordingSearch search_{&launch_};
};

TEST(JvmScanWalkerRules, ExecutableNamesMatchWholeTrailingComponentsInTheSystemsCaseRule) {
  EXPECT_TRUE(pathEndsWithExecutable("C:\\jdk\\bin\\java.exe", "bin\\java.exe"));
  EXPECT_EQ(pathEndsWithExecutable("C:\\jdk\\BIN\\JAVA.EXE", "bin\\java.exe"),
            os::fileNamesIgnoreCase());
  EXPECT_TRUE(pathEndsWithExecutable("bin\\java.exe", "bin\\java.exe"));
  EXPECT_FALSE(pathEndsWithExecutable("C:\\jdk\\xbin\\java.exe", "bin\\java.exe"));
  EXPECT_FALSE(pathEndsWithExecutable("java.exe", "bin\\java.exe"));
  EXPECT_FALSE(pathEndsWithExecutable("C:\\jdk\\bin\\java.exe", ""));
}

TEST(JvmScanWalkerRules, RecycleBinsAtTheTopOfTheRoot) {
  for (const char* directory : {"C:\\RECYCLER\\", "C:\\Recycled\\", "C:\\$Recycle.Bin\\",
                                "C:\\recycler\\S-1-5-21\\"})
    EXPECT_TRUE(isRecycleBin(directory, "C:\\")) << directory;
  for (const char* directory : {"C:\\", "C:\\Program Files\\", "C:\\data\\RECYCLER\\",
                                "C:\\RECYCL\\", "D:\\RECYCLER\\"})
    EXPECT_FALSE(isRecycleBin(directory, "C:\\")) << directory;
}

TEST_F(JvmScanTest, CandidateMustEndInTheWholeExecutable) {
  addJvmFile("A");
  for (const std::string& path :
       {fakeJvmExe(), platformPath("x") + fakeJvmExe(), at("C", "jdk/x") + fakeJvmExe()})
    EXPECT_FALSE(search_.onCandidate(path)) << path;
  EXPECT_TRUE(search_.candidateGroups().empty());
  search_.onCandidate(at("C", "jdk/") + fakeJvmExe());
  ASSERT_EQ(search_.candidateGroups().size(), 1u);
  EXPECT_EQ(search_.candidateGroups()[0].homes, std::vector<std::string>{at("C", "jdk")});
}

TEST_F(JvmScanTest, WalkSkipsTheTemporaryRootAndRecycleBins) {
  const std::string jdk = good(at("C", "apps/jdk"));
  good(at("C", "RECYCLER/S-1/jdk"));
  good(at("C", "$Recycle.Bin/jdk"));
  const std::string tempRoot = at("C", "apps/temp");
  good(tempRoot + os::pathSeparator() + "LRE1.tmp");
  testTemp().setRoot(tempRoot);
  const std::string shouting = at("D", "jdk");
  makeFakeJvm(shouting, "", platformPath("BIN/FAKEJAVA") + (windowsPaths() ? ".EXE" : ""));
  addJvmFile("A");

  JvmMatches results;
  search_.findAllJvms(results, false);
  std::vector<std::string> proposed = search_.proposed;
  std::sort(proposed.begin(), proposed.end());
  // A home whose executable differs only in letter case is that file's JVM
  // where the file system ignores case (Windows), and no candidate elsewhere.
  std::vector<std::string> expected{executableOf(jdk)};
  std::vector<std::string> homes{jdk};
  if (os::fileNamesIgnoreCase()) {
    expected.push_back(shouting + os::pathSeparator() + platformPath("BIN/FAKEJAVA.EXE"));
    homes.push_back(shouting);
  }
  EXPECT_EQ(proposed, expected);
  ASSERT_EQ(search_.candidateGroups().size(), 1u);
  std::vector<std::string> grouped = search_.candidateGroups()[0].homes;
  std::sort(grouped.begin(), grouped.end());
  EXPECT_EQ(grouped, homes);
  EXPECT_EQ(homesOf(results), std::vector<std::string>{jdk});
}

TEST_F(JvmScanTest, ATempRootGivenThroughALinkIsStillSkipped) {
  if (windowsPaths()) GTEST_SKIP() << "the test makes its second form of a path with a link";
  const std::string tempRoot = at("C", "apps/temp");
  good(tempRoot + "/LRE1.tmp");
  const std::string link = dir_.file("temp-link");
  fs::create_directory_symlink(tempRoot, link);
  testTemp().setRoot(link);
  addJvmFile("A");
  JvmMatches results;
  search_.findAllJvms(results, false);
  EXPECT_TRUE(search_.proposed.empty());
}

TEST_F(JvmScanTest, AllJvmsComeGroupByGroupInTheOrderFound) {
  const std::string first = good(at("C", "jdk1"));
  const std::string second = good(at("E", "jdk2"));
  makeFakeJvm(at("D", "jdk-other"), verifierOutput("Other Inc.", "1.4"));
  addJvmFile("A");
  addJvmFile("Named", "fakejava" + std::string(windowsPaths() ? ".exe" : ""));
  app_.calls.clear();

  JvmMatches results;
  search_.findAllJvms(results, false);
  ASSERT_EQ(search_.candidateGroups().size(), 2u);
  EXPECT_EQ(search_.candidateGroups()[0].homes,
            (std::vector<std::string>{first, at("D", "jdk-other"), second}));
  EXPECT_EQ(search_.candidateGroups()[1].homes,
            (std::vector<std::string>{first + os::pathSeparator() + "bin",
                                      at("D", "jdk-other/bin"), second + os::pathSeparator() + "bin"}));
  EXPECT_EQ(homesOf(results), (std::vector<std::string>{first, second,
                                                        first + os::pathSeparator() + "bin",
                                                        second + os::pathSeparator() + "bin"}));
  EXPECT_EQ(app_.calls.front(), "detail:|Scanning disk(s) for a Java(tm) Virtual Machine...");
  const std::string log = takeLog();
  EXPECT_EQ(log.rfind("Beginning exhaustive search\nProcessing unverified matches.\n\n", 0), 0u)
      << log;
}

TEST_F(JvmScanTest, SameExecutableForTwoFilesIsProposedOnceAndRecordedForBoth) {
  const std::string jdk = good(at("C", "jdk"));
  addJvmFile("A");
  addJvmFile("B");
  JvmMatches results;
  search_.findAllJvms(results, false);
  EXPECT_EQ(search_.proposed, std::vector<std::string>{executableOf(jdk)});
  ASSERT_EQ(search_.candidateGroups().size(), 2u);
  EXPECT_EQ(search_.candidateGroups()[1].homes, std::vector<std::string>{jdk});
  EXPECT_EQ(results.size(), 2u);
  EXPECT_EQ(&results[1]->tagFile(), &tagFiles_[1]);
}

TEST_F(JvmScanTest, StopAtFirstEndsTheWalkAtTheFirstVerifiedJvm) {
  const std::string garbage = at("C", "broken");
  makeFakeJvm(garbage, "no magic here\n");
  const std::string jdk = good(at("D", "jdk"));
  good(at("E", "later"));
  addJvmFile("A");

  JvmMatches results;
  search_.findAllJvms(results, true);
  EXPECT_EQ(homesOf(results), std::vector<std::string>{jdk});
  EXPECT_EQ(search_.proposed,
            (std::vector<std::string>{executableOf(garbage), executableOf(jdk)}));
  EXPECT_TRUE(search_.candidateGroups().empty());
  const std::string log = takeLog();
  EXPECT_EQ(linesStartingWith(log, {"Verifying JVM", "Processing"}),
            (std::vector<std::string>{"Verifying JVM at " + executableOf(garbage),
                                      "Verifying JVM at " + executableOf(jdk)}));
}

TEST_F(JvmScanTest, HintSearchFallsBackToTheScanForOneJvm) {
  const std::string jdk = good(at("D", "jdk"));
  good(at("E", "later"));
  addJvmFile("A").setValue("SEARCH_ALL", "1");
  JvmMatches results;
  search_.findJvm(results);
  EXPECT_EQ(homesOf(results), std::vector<std::string>{jdk});
  EXPECT_EQ(search_.proposed, std::vector<std::string>{executableOf(jdk)});

  // A candidate of a later file waits for the walk to end, then is the one.
  search_.proposed.clear();
  tagFiles_[0].setValue("JVM_EXE", platformPath("bin/none"));
  addJvmFile("B");
  results.clear();
  search_.findJvm(results);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(&results[0]->tagFile(), &tagFiles_[1]);
  EXPECT_EQ(results[0]->home(), jdk);
  EXPECT_EQ(search_.proposed.size(), 2u);
}

}  // namespace
