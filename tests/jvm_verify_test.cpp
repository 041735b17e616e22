// Verification of a candidate JVM: the verifier command, the reading of
// the verifier's output, and whole checks against fake and real JVM homes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/index.h"
#include "base/ui.h"
#include "fake_jvm.h"
#include "jvm/jvm_file_search.h"
#include "jvm/jvm_search.h"
#include "jvm/verifier.h"
#include "launch/literal_text.h"
#include "launcher/launcher_run.h"

namespace fs = std::filesystem;

namespace {

const std::vector<PropertyPattern> kSamplePatterns = {{"java.vendor", "Sun Microsystems..."},
                                                      {"java.version", "1.4..."}};

class JvmVerifyTest : public FakeJvmFixture {
protected:
  void SetUp() override {
    FakeJvmFixture::SetUp();
    jvmTags_.setValue("DESC", "Java 1.4");
    jvmTags_.setValue("JVM_EXE", fakeJvmExe());
    jvmTags_.addValue("JVM_PROPERTIES", "java.vendor=Sun Microsystems...");
    jvmTags_.addValue("JVM_PROPERTIES", "java.version=1.4...");
    takeLog();
  }

  std::string home(const std::string& name) const { return homes_.file(name); }
  std::string executableOf(const std::string& homePath) const {
    return ensureTrailingSeparator(homePath) + fakeJvmExe();
  }
  // The user-interface calls without the process runner's step per chunk read.
  std::vector<std::string> interfaceCalls() const {
    std::vector<std::string> calls;
    for (const std::string& call : app_.calls)
      if (call != "advance:1") calls.push_back(call);
    return calls;
  }
  std::unique_ptr<JvmMatch> check(const std::string& homePath) {
    return JvmFileSearch(jvm_).checkCandidate(homePath, {"\"verify.jar\"", "\"Verify\""});
  }

  ScopedTempDir homes_;
};

TEST_F(JvmVerifyTest, OutputQualifiesOnlyWithTheMagicLineAndEveryValue) {
  const struct {
    const char* output;
    bool verified;
  } cases[] = {
      {"Picked up options\r\n1739021872\r\nSun Microsystems Inc.\r\n1.4.2_03\r\n", true},
      {"  1739021872 \t\nSun Microsystems Inc.\n1.4.2", true},
      {"1739021872\nAnother Vendor Inc.\n1.4.2\n", false},
      {"1739021872\nSun Microsystems Inc.\n1.3.1\n", false},
      {"1739021872\nsun microsystems inc.\n1.4.2\n", false},
      // Values the verifier always prints but that did not arrive prove nothing.
      {"1739021872\nSun Microsystems Inc.\n", false},
      {"1739021872\n", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(checkVerifierOutput(c.output, kSamplePatterns), c.verified) << c.output;
  EXPECT_TRUE(checkVerifierOutput("1739021872", {}));
  EXPECT_TRUE(checkVerifierOutput("1739021872\n\n", {{"empty", ""}}));
  EXPECT_TRUE(checkVerifierOutput("1739021872\nnull\n", {{"missing", "null"}}));
  EXPECT_EQ(takeLog(), "");
}

TEST_F(JvmVerifyTest, OutputWithoutTheMagicLineLogsTheLastLine) {
  EXPECT_FALSE(checkVerifierOutput("", kSamplePatterns));
  EXPECT_EQ(takeLog(), "ERROR: Invalid magic value: \n\n");
  EXPECT_FALSE(checkVerifierOutput("Exception in thread main\r\n  at Verify\r\n", {}));
  EXPECT_EQ(takeLog(), "ERROR: Invalid magic value: at Verify\n\n");
  EXPECT_FALSE(checkVerifierOutput("17390218720\n", {}));
  EXPECT_EQ(takeLog(), "ERROR: Invalid magic value: 17390218720\n\n");
}

TEST_F(JvmVerifyTest, CommandTemplateIsExact) {
  EXPECT_EQ(verifierCommandTemplate("C:\\j2re1.4.2", '\\', "\"C:\\Temp\\LRE1.tmp\\Verify.jar\"",
                                    "\"Verify\"", kSamplePatterns),
            "\"" + literalText("C:\\j2re1.4.2\\") + "@JVM_EXE@\" %CP%(\"\"\"" +
                literalText("C:\\Temp\\LRE1.tmp\\Verify.jar") +
                "\"\"\") \"Verify\" java.vendor java.version");
  EXPECT_EQ(verifierCommandTemplate("C:\\j2re1.4.2\\", '\\', "v.jar", "Verify", {}),
            "\"" + literalText("C:\\j2re1.4.2\\") + "@JVM_EXE@\" %CP%(v.jar) Verify");
  EXPECT_EQ(verifierCommandTemplate("/opt/jdk", '/', "", "", {{"a", "b"}}),
            "\"" + literalText("/opt/jdk/") + "@JVM_EXE@\" %CP%()  a");
  // A quote at one end only is not a quoted path.
  EXPECT_EQ(verifierCommandTemplate("/opt/jdk/", '/', "\"v.jar", "V", {}),
            "\"" + literalText("/opt/jdk/") + "@JVM_EXE@\" %CP%(\"v.jar) V");
}

TEST_F(JvmVerifyTest, CandidateThatAnswersTheProtocolMatches) {
  const std::string jdk = home("jdk");
  makeFakeJvm(jdk, verifierOutput("Sun Microsystems Inc.", "1.4.2_03"));
  ui::setStatusDetail(ui::kDetailSearching, "Outer");
  app_.calls.clear();

  std::unique_ptr<JvmMatch> match = check(jdk);
  ASSERT_NE(match, nullptr);
  EXPECT_EQ(match->home(), jdk);
  EXPECT_EQ(&match->tagFile(), &jvmTags_);
  EXPECT_FALSE(match->foundRelativeToLauncher());
  EXPECT_EQ(jvmTags_.value("JVM_HOME"), jdk);

  const std::string log = takeLog();
  EXPECT_EQ(log.rfind("Verifying JVM at " + executableOf(jdk) + "\n   for JVM: Java 1.4\n", 0), 0u)
      << log;
  EXPECT_NE(log.find("\nFound matching JVM at " + jdk + "\n"), std::string::npos) << log;
  EXPECT_EQ(fakeJvmArguments(jdk),
            "-cp\nverify.jar\nVerify\njava.vendor\njava.version\n");
  EXPECT_EQ(interfaceCalls(), (std::vector<std::string>{"detail:|Verifying Java 1.4", "advance:6"}));
}

TEST_F(JvmVerifyTest, CandidatesThatDoNotQualify) {
  const std::string other = home("other"), garbage = home("garbage"), empty = home("empty");
  makeFakeJvm(other, verifierOutput("Another Vendor Inc.", "1.4.2"));
  makeFakeJvm(garbage, "Error: could not find or load main class\n");
  fs::create_directories(empty);

  EXPECT_EQ(check(other), nullptr);
  EXPECT_EQ(jvmTags_.value("JVM_HOME"), other);  // left at the last home tried
  EXPECT_EQ(takeLog().find("Invalid magic"), std::string::npos);

  EXPECT_EQ(check(garbage), nullptr);
  EXPECT_NE(takeLog().find("\nERROR: Invalid magic value: Error: could not find or load main "
                           "class\n\n"),
            std::string::npos);

  app_.calls.clear();
  EXPECT_EQ(check(empty), nullptr);
  EXPECT_EQ(takeLog(), "Verifying JVM at " + executableOf(empty) + "\n   for JVM: Java 1.4\n" +
                           executableOf(empty) + " does not exist\n");
  EXPECT_EQ(interfaceCalls(), (std::vector<std::string>{"detail:|Verifying Java 1.4", "advance:2"}));
  EXPECT_EQ(jvmTags_.value("JVM_HOME"), garbage);  // no verifier ran

  EXPECT_EQ(check(""), nullptr);
  jvmTags_.setValue("JVM_EXE", "");
  EXPECT_EQ(check(other), nullptr);
  EXPECT_EQ(takeLog(), "");
}

TEST_F(JvmVerifyTest, OwnHomeNeedsThePropertiesTag) {
  const std::string jdk = home("jdk");
  makeFakeJvm(jdk, verifierOutput("Sun Microsystems Inc.", "1.4.1"));
  jvmTags_.setValue("JVM_HOME", jdk);
  EXPECT_NE(JvmFileSearch(jvm_).verifyOwnHome({"\"v.jar\"", "\"Verify\""}), nullptr);

  TagFile bare;
  bare.setValue("JVM_EXE", fakeJvmExe());
  bare.setValue("JVM_HOME", jdk);
  JvmFile bareFile(bare, "bare.jvm");
  takeLog();
  EXPECT_EQ(JvmFileSearch(bareFile).verifyOwnHome({"\"v.jar\"", "\"Verify\""}), nullptr);
  EXPECT_EQ(takeLog(),
            "WARNING: Unable to verify bare.jvm because the JVM_PROPERTIES tag was not "
            "specified.\n");
  // A check of a given home asks only for the magic line.
  EXPECT_NE(JvmFileSearch(bareFile).checkCandidate(jdk, {"\"v.jar\"", "\"Verify\""}), nullptr);
}

TEST_F(JvmVerifyTest, ArchiveVerifierIsExtractedAtItsFirstRunOnceAndAnInputFileOneWins) {
  useLauncher({{VERIFIER_ARCHIVE, "Verify.jar", "jar bytes"}});
  JvmSearch& search = testRun().jvmSearch();
  // The cache knows the verifier by its bytes: a start whose verifications
  // all come from the cache writes nothing out.
  const std::string identity = search.verifier().identity();
  EXPECT_TRUE(testTemp().cleanupList().directories().empty());
  const std::string classPath = search.verifier().classPath();
  const std::string extracted = privateDir(0) + "Verify.jar";
  EXPECT_EQ(classPath, "\"" + extracted + "\"");
  EXPECT_EQ(search.verifier().className(), "\"Verify\"");
  EXPECT_EQ(readWholeFile(extracted), "jar bytes");
  EXPECT_EQ(verifierIdentity(search.verifier().classPath(), "\"Verify\""), identity);
  search.verifier().classPath();
  EXPECT_EQ(testTemp().cleanupList().directories().size(), 1u);

  useLauncher({{VERIFIER_ARCHIVE, "Verify.jar", "jar bytes"}});
  TagFile input;
  input.setValue("VERIFY_CLASSPATH", "given.jar");
  input.setValue("VERIFY_CLASS_NAME", "Given");
  testRun().loadInputFile(input);
  const VerifierSource& given = testRun().jvmSearch().verifier();
  EXPECT_EQ(given.classPath() + "|" + given.className(), "given.jar|Given");
  EXPECT_EQ(testTemp().cleanupList().directories().size(), 1u);  // the first test's only
}

// The verifier protocol against the machine's own JDK, with the verifier
// built beside the test program.
TEST_F(JvmVerifyTest, RealJdkAnswersTheBuiltVerifier) {
  if (windowsPaths()) GTEST_SKIP() << "runs native JDKs only";
  const fs::path jar = fs::path(os::executablePath()).parent_path() / "Verify.jar";
  if (!fs::exists(jar)) GTEST_SKIP() << "no Verify.jar was built";
  std::string jdk;
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator("/usr/lib/jvm", ignored))
    if (jdk.empty() && fs::exists(entry.path() / "bin/java")) jdk = entry.path().string();
  if (jdk.empty()) GTEST_SKIP() << "no JDK below /usr/lib/jvm";

  const std::string realHome = fs::canonical(jdk).string();
  TagFile tags;
  tags.setValue("DESC", "Installed JDK");
  tags.setValue("JVM_EXE", "bin/java");
  tags.setValue("CLASSPATH", "-cp ");
  tags.setValue("CLASSPATH_SEPARATOR", ":");
  tags.addValue("JVM_PROPERTIES", "java.home=" + realHome);
  tags.addValue("JVM_PROPERTIES", "java.vm.specification.version=...");
  tags.addValue("JVM_PROPERTIES", "qm.not.set=null");
  JvmFile real(tags, "installed.jvm");
  useLauncher({{VERIFIER_ARCHIVE, "Verify.jar", readWholeFile(jar.string())}});
  const VerifierSource& verifier = testRun().jvmSearch().verifier();
  EXPECT_NE(JvmFileSearch(real).checkCandidate(realHome, verifier), nullptr) << takeLog();

  tags.addValue("JVM_PROPERTIES", "java.vendor=No Such Vendor");
  EXPECT_EQ(JvmFileSearch(real).checkCandidate(realHome, verifier), nullptr);
}

}  // namespace
