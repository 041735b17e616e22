// The hint search: its order over the user's home, the JVM files and their
// hints, the parsing of platform hints, and path hints on drives and
// beside the launcher.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_jvm.h"
#include "jvm/jvm_paths.h"
#include "jvm/jvm_search.h"
#include "jvm/jvm_search_testing.h"
#include "jvm/platform_hint.h"
#include "launch_fixture.h"
#include "os/registry.h"

namespace fs = std::filesystem;

namespace {

const char kGoodVendor[] = "Sun Microsystems Inc.";

class JvmSearchTest : public FakeJvmFixture {
protected:
  void SetUp() override {
    FakeJvmFixture::SetUp();
    search_.setVerifier("\"verify.jar\"", "\"Verify\"");
    fs::create_directories(drive("C"));
    fs::create_directories(drive("D"));
    overrideFixedDrives({drive("C"), drive("D")});
  }
  void TearDown() override {
    restoreFixedDrives();
    FakeJvmFixture::TearDown();
  }

  std::string drive(const std::string& name) const { return disks_.file(name); }

  // A JVM file in the search that accepts the good vendor.
  TagFile& addJvmFile(const std::string& description, bool searchAll = false) {
    tagFiles_.emplace_back();
    TagFile& tags = tagFiles_.back();
    tags.setValue("DESC", description);
    tags.setValue("JVM_EXE", fakeJvmExe());
    tags.addValue("JVM_PROPERTIES", "java.vendor=Sun Microsystems...");
    if (searchAll) tags.setValue("SEARCH_ALL", "1");
    search_.addJvmFile(std::unique_ptr<JvmFile>(new JvmFile(tags, description + ".jvm")));
    return tags;
  }

  JvmMatches find() {
    JvmMatches results;
    search_.findJvm(results);
    return results;
  }

  std::vector<std::string> searchSteps() {
    return linesStartingWith(takeLog(), {"Checking user", "Initiating", "Searching for",
                                         "Checking path hint", "Beginning", "Processing",
                                         "Found matching"});
  }

  ScopedTempDir disks_;
  std::deque<TagFile> tagFiles_;
  JvmSearch search_;
};

TEST(PlatformHintSplit, PiecesOfAHint) {
  const struct {
    const char *hint, *hive, *keyPath, *valueName, *afterHive;
  } cases[] = {
      {"\\HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.4\\JavaHome",
       "HKEY_LOCAL_MACHINE", "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.4", "JavaHome",
       "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.4\\JavaHome"},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\X\\JavaHome", "HKEY_LOCAL_MACHINE", "SOFTWARE\\X",
       "JavaHome", "SOFTWARE\\X\\JavaHome"},
      {"\\HKEY_LOCAL_MACHINE\\JavaHome", "HKEY_LOCAL_MACHINE", "JavaHome", "JavaHome",
       "JavaHome"},
      {"\\HKEY_CURRENT_USER\\Software\\X\\", "HKEY_CURRENT_USER", "Software\\X", "",
       "Software\\X\\"},
      {"\\HKEY_LOCAL_MACHINE", "", "", "", ""},
      {"\\", "", "", "", ""},
  };
  for (const auto& c : cases) {
    const PlatformHintParts parts = splitPlatformHint(c.hint);
    EXPECT_EQ(parts.hive + "|" + parts.keyPath + "|" + parts.valueName + "|" + parts.afterHive,
              std::string(c.hive) + "|" + c.keyPath + "|" + c.valueName + "|" + c.afterHive)
        << c.hint;
  }
}

TEST(PlatformHintSplit, OnlyTheFivePredefinedKeysInUpperCase) {
  os::RegistryHive hive;
  ASSERT_TRUE(registryHiveFromName("HKEY_CURRENT_CONFIG", &hive));
  EXPECT_EQ(hive, os::RegistryHive::kCurrentConfig);
  for (const char* name : {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_USERS",
                           "HKEY_CLASSES_ROOT"})
    EXPECT_TRUE(registryHiveFromName(name, &hive)) << name;
  for (const char* name : {"HKLM", "hkey_local_machine", "", "HKEY_LOCAL_MACHINE "})
    EXPECT_FALSE(registryHiveFromName(name, &hive)) << name;
}

TEST_F(JvmSearchTest, UnknownHiveEndsTheWholeSearch) {
  std::vector<std::string> homes{"stale"};
  EXPECT_EQ(errorOf([&] { resolvePlatformHint("\\HKLM\\SOFTWARE\\X", homes); }),
            "Invalid hive (HKLM) specified in platform hint (\\HKLM\\SOFTWARE\\X).");
  EXPECT_TRUE(homes.empty());
  EXPECT_EQ(errorOf([&] { resolvePlatformHint("\\hkey_local_machine\\SOFTWARE\\X", homes); }),
            "Invalid hive (hkey_local_machine) specified in platform hint "
            "(\\hkey_local_machine\\SOFTWARE\\X).");
  EXPECT_EQ(errorOf([&] { resolvePlatformHint("HKEY_LOCAL_MACHINE", homes); }),
            "Invalid hive () specified in platform hint (HKEY_LOCAL_MACHINE).");
  EXPECT_EQ(errorOf([&] { resolvePlatformHint("", homes); }), "");

  addJvmFile("A").addValue("PLATFORM_HINT", "\\HKLM\\SOFTWARE\\X");
  addJvmFile("B").addValue("PATH_HINT", "never");
  EXPECT_EQ(errorOf([&] { find(); }),
            "Invalid hive (HKLM) specified in platform hint (\\HKLM\\SOFTWARE\\X).");
  EXPECT_EQ(searchSteps(), (std::vector<std::string>{"Initiating JVM search based on hints...",
                                                     "Searching for A using platform hints"}));
}

TEST_F(JvmSearchTest, WithoutARegistryAValidHintYieldsNothingSilently) {
  if (os::hasRegistry()) GTEST_SKIP() << "the registry hints are tested against the registry";
  std::vector<std::string> homes;
  resolvePlatformHint("\\HKEY_LOCAL_MACHINE\\SOFTWARE\\JavaSoft\\JavaHome", homes);
  EXPECT_TRUE(homes.empty());
  EXPECT_EQ(takeLog(), "");
}

TEST_F(JvmSearchTest, PathHintsTryEveryDriveInOrderThenBesideTheLauncher) {
  const std::string hint = platformPath("/java/jre14");
  const std::string onD = drive("D") + platformPath("/java/jre14");
  makeFakeJvm(onD, verifierOutput(kGoodVendor, "1.4"));
  TagFile& tags = addJvmFile("A");
  tags.addValue("PATH_HINT", "missing");
  tags.addValue("PATH_HINT", hint);
  JvmMatches results = find();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0]->home(), onD);
  EXPECT_FALSE(results[0]->foundRelativeToLauncher());
  EXPECT_EQ(searchSteps(),
            (std::vector<std::string>{"Initiating JVM search based on hints...",
                                      "Searching for A using platform hints",
                                      "Searching for A using path hints",
                                      "Checking path hint " + drive("C") + platformPath("/java/jre14"),
                                      "Checking path hint " + onD, "Found matching JVM at " + onD}));
}

TEST_F(JvmSearchTest, EverySubdirectoryOfAJvmDirectoryIsTriedNewestFirst) {
  // A vendor's folder on the second drive: the newest JDK there matches.
  for (const char* version : {"jdk-9", "jdk-21", "jdk-17.0.10"})
    makeFakeJvm(drive("D") + platformPath("/Vendor/") + version, verifierOutput(kGoodVendor, "1.4"));
  addJvmFile("A").addValue("JVM_DIRS", platformPath("/Vendor"));
  JvmMatches results = find();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0]->home(), drive("D") + platformPath("/Vendor/jdk-21"));
}

TEST_F(JvmSearchTest, RelativePathHintFromTheLauncherDirectoryIsWrittenAsTemporary) {
  makeFakeJvm(dir_.file("jre"), verifierOutput(kGoodVendor, "1.4"));
  addJvmFile("A").addValue("PATH_HINT", "jre");
  JvmMatches results = find();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0]->home(), dir_.path() + os::pathSeparator() + "jre");
  EXPECT_TRUE(results[0]->foundRelativeToLauncher());
  const TagFile written(results[0]->writeJvmFile(testTemp()));
  EXPECT_EQ(written.value("JVM_TEMP"), "1");
  EXPECT_EQ(written.value("JVM_HOME"), results[0]->home());
  for (const std::string& step : searchSteps())
    EXPECT_EQ(step.rfind("Checking path hint", 0), std::string::npos) << step;
}

TEST_F(JvmSearchTest, FilesAreSearchedInOrderUpToTheFirstAskingForTheScan) {
  addJvmFile("A").addValue("PATH_HINT", "a-hint");
  addJvmFile("B", true).addValue("PATH_HINT", "b-hint");
  addJvmFile("C").addValue("PATH_HINT", "c-hint");
  EXPECT_TRUE(find().empty());
  const std::vector<std::string> perFile = {"Searching for # using platform hints",
                                            "Searching for # using path hints",
                                            "Searching for # using platform specific JVM Path hints"};
  std::vector<std::string> expected{"Initiating JVM search based on hints..."};
  for (const char* file : {"A", "B"})
    for (std::string step : perFile) expected.push_back(step.replace(step.find('#'), 1, file));
  expected.push_back("Beginning exhaustive search");
  expected.push_back("Processing unverified matches.");
  EXPECT_EQ(searchSteps(), expected);

  // Each verification shows its own line and brings the search's back.
  std::vector<std::string> details;
  for (const std::string& call : app_.calls)
    if (call.rfind("detail:", 0) == 0 && call.find("Verifying") == std::string::npos &&
        (details.empty() || details.back() != call))
      details.push_back(call);
  EXPECT_EQ(details, (std::vector<std::string>{
                         "detail:|Searching for A", "detail:|Searching for B",
                         "detail:|Scanning disk(s) for a Java(tm) Virtual Machine..."}));
}

TEST_F(JvmSearchTest, FileAskingForTheScanFirstEndsTheHintSearch) {
  addJvmFile("B", true);
  addJvmFile("A");
  EXPECT_TRUE(find().empty());
  const std::vector<std::string> steps = searchSteps();
  ASSERT_EQ(steps.size(), 6u);
  EXPECT_EQ(steps[3], "Searching for B using platform specific JVM Path hints");
  EXPECT_EQ(steps[4], "Beginning exhaustive search");
}

TEST_F(JvmSearchTest, FirstVerifiedCandidateEndsTheSearch) {
  makeFakeJvm(dir_.file("a-jre"), verifierOutput(kGoodVendor, "1.4"));
  addJvmFile("A").addValue("PATH_HINT", "a-jre");
  addJvmFile("B", true).addValue("PATH_HINT", "b-jre");
  JvmMatches results = find();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(&results[0]->tagFile(), &tagFiles_[0]);
  const std::vector<std::string> steps = searchSteps();
  EXPECT_EQ(steps.back(), "Found matching JVM at " + results[0]->home());
  for (const std::string& step : steps) EXPECT_EQ(step.find(" B "), std::string::npos) << step;
}

TEST_F(JvmSearchTest, ACandidateWhoseProgramCannotRunIsNoMatchAndTheSearchGoesOn) {
  // A program of another system, or a file that may not be run at all.
  const fs::path broken = fs::path(dir_.file("broken-jre")) / fakeJvmExe();
  fs::create_directories(broken.parent_path());
  writeWholeFile(broken.string(), "not a program");
  makeFakeJvm(dir_.file("good-jre"), verifierOutput(kGoodVendor, "1.4"));
  TagFile& tags = addJvmFile("A");
  tags.addValue("PATH_HINT", "broken-jre");
  tags.addValue("PATH_HINT", "good-jre");
  JvmMatches results = find();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0]->home(), dir_.file("good-jre"));
}

TEST_F(JvmSearchTest, UserHomeIsTriedWithEveryFileBeforeAnyHint) {
  const std::string home = disks_.file("user-jdk");
  makeFakeJvm(home, verifierOutput(kGoodVendor, "1.4"));
  TagFile& strict = addJvmFile("Strict");
  strict.setValue("JVM_PROPERTIES", "java.vendor=Someone Else");
  strict.addValue("PATH_HINT", "never");
  TagFile& bare = addJvmFile("Bare");
  bare.setValue("JVM_PROPERTIES", "");  // only the hint searches insist on properties
  settings().userJavaHome = home;
  JvmMatches results = find();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(&results[0]->tagFile(), &bare);
  EXPECT_EQ(searchSteps(),
            (std::vector<std::string>{"Checking user specified Java home directory => " + home,
                                      "Found matching JVM at " + home}));
}

// A JVM home named by an environment variable, and the one of the java on
// the PATH, are tried before the other hints of a file that asks for them.
TEST_F(JvmSearchTest, EnvironmentHintsComeBeforeTheOtherHints) {
  const std::string fromVariable = disks_.file("variable-jdk");
  const std::string fromPath = disks_.file("path-jdk");
  makeFakeJvm(fromVariable, verifierOutput(kGoodVendor, "1.4"));
  makeFakeJvm(fromPath, verifierOutput(kGoodVendor, "1.4"));
  makeFakeJvm(dir_.file("jre"), verifierOutput(kGoodVendor, "1.4"));
  TagFile& tags = addJvmFile("A");
  tags.addValue("PATH_HINT", "jre");
  tags.addValue("ENV_HINT", "QM_TEST_NO_SUCH_HOME");
  tags.addValue("ENV_HINT", "QM_TEST_JAVA_HOME");
  tags.setValue("PATH_JAVA", "1");
  ScopedVariable unset("QM_TEST_NO_SUCH_HOME", nullptr);
  ScopedVariable home("QM_TEST_JAVA_HOME", fromVariable.c_str());
  const std::string bin = (fs::path(fromPath) / fakeJvmExe()).parent_path().string();
  const std::string separator = windowsPaths() ? ";" : ":";
  ScopedVariable path("PATH", (disks_.file("nothing") + separator + bin + separator +
                               variable("PATH")).c_str());
  JvmMatches results = find();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0]->home(), fromVariable);
  ScopedVariable none("QM_TEST_JAVA_HOME", nullptr);
  results = find();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0]->home(), ensureTrailingSeparator(fromPath));
}

// A -qm:javahome that leads nowhere is reported with its reason; the search
// goes on.
TEST_F(JvmSearchTest, AUserHomeThatIsNotUsedIsReportedWithItsReason) {
  addJvmFile("A");
  makeFakeJvm(disks_.file("other-vendor"), verifierOutput("Someone Else", "1.4"));
  fs::create_directories(disks_.file("empty"));
  const std::string prefix = "The Java home given with -qm:javahome, ";
  for (const auto& [name, reason] : std::vector<std::pair<std::string, std::string>>{
           {"missing", "it does not exist"},
           {"empty", "it holds no " + fakeJvmExe()},
           {"other-vendor",
            "the runtime there is not one the launcher's JVM files accept (see the log)"}}) {
    settings().userJavaHome = disks_.file(name);
    EXPECT_TRUE(find().empty());
    const std::string text = prefix + disks_.file(name) + ", is not used: " + reason + ".";
    EXPECT_EQ(linesStartingWith(takeLog(), {"WARNING: The Java home"}),
              std::vector<std::string>{"WARNING: " + text});
    EXPECT_EQ(app_.messages().back(), text);
  }
}

TEST_F(JvmSearchTest, FileWithoutPropertiesSkipsEachHintSearch) {
  TagFile& bare = addJvmFile("Bare");
  bare.setValue("JVM_PROPERTIES", "");
  makeFakeJvm(dir_.file("jre"), verifierOutput(kGoodVendor, "1.4"));
  bare.addValue("PATH_HINT", "jre");
  EXPECT_TRUE(find().empty());
  const std::string warning =
      "WARNING: Unable to verify Bare.jvm because the JVM_PROPERTIES tag was not specified.";
  EXPECT_EQ(takeLog(), "Initiating JVM search based on hints...\n" + warning + "\n" + warning +
                           "\n" + warning + "\n");
}

TEST(JvmPathCandidates, DirectoryOfTheExecutableIsCutAsWholeComponents) {
  const std::string exe = platformPath("bin/java");
  const std::vector<JvmPathCandidate> candidates = jvmPathCandidates(
      {platformPath("/jdk/bin"), platformPath("/jdk"), platformPath("/jdk/"),
       platformPath("/tools/sbin"), platformPath("/jre/bin/")},
      exe);
  std::vector<std::string> homes, sources;
  for (const JvmPathCandidate& c : candidates) {
    homes.push_back(c.home);
    sources.push_back(c.path);
  }
  EXPECT_EQ(homes, (std::vector<std::string>{platformPath("/jdk/"), platformPath("/tools/sbin/"),
                                             platformPath("/jre/")}));
  EXPECT_EQ(sources, (std::vector<std::string>{platformPath("/jdk/bin"),
                                               platformPath("/tools/sbin"),
                                               platformPath("/jre/bin/")}));
  EXPECT_EQ(jvmPathCandidates({platformPath("/jdk/bin")}, "java")[0].home,
            platformPath("/jdk/bin/"));
}

}  // namespace
