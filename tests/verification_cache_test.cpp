// The verification cache: a repeat verification of the same JVM is taken
// from the cache, any change of what it depends on verifies afresh, and the
// file stays whole whatever it held before or whoever wrote it last.
#include "jvm/verification_cache.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/settings.h"
#include "fake_jvm.h"
#include "jvm/jvm_file_search.h"
#include "tagfile/tag_file.h"

namespace fs = std::filesystem;

namespace {

class VerificationCacheTest : public FakeJvmFixture {
protected:
  void SetUp() override {
    FakeJvmFixture::SetUp();
    home_ = dir_.file("jdk");
    makeFakeJvm(home_, verifierOutput("Sun Microsystems Inc.", "1.4"));
    tags_.setValue("JVM_EXE", fakeJvmExe());
    tags_.addValue("JVM_PROPERTIES", "java.vendor=Sun Microsystems...");
  }

  // Whether the JVM was run (rather than its verification taken from the cache).
  bool verifiesByRunning(const std::string& className = "\"Verify\"") {
    fs::remove(fs::path(home_) / fs::path(fakeJvmExe()).parent_path() / "args.txt");
    takeLog();
    EXPECT_NE(JvmFileSearch(jvm_, cacheInUse_).checkCandidate(home_, {"\"verify.jar\"", className}), nullptr);
    const bool ran = !fakeJvmArguments(home_).empty();
    const bool cached = takeLog().find("Using the cached verification of " + home_) != std::string::npos;
    EXPECT_NE(ran, cached);
    return ran;
  }
  void touch(const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    writeWholeFile(path, "x");
  }

  std::string home_;
  VerificationCache cache_{dir_.file("cache/verified-jvms")};
  VerificationCache* cacheInUse_ = &cache_;
  TagFile tags_;
  JvmFile jvm_{tags_, "a.jvm"};
};

TEST_F(VerificationCacheTest, ARepeatIsCachedAndEveryChangeOfTheKeyVerifiesAfresh) {
  EXPECT_TRUE(verifiesByRunning());
  EXPECT_FALSE(verifiesByRunning());

  // A new executable of another size (on Windows the fake is the running
  // test program, whose file cannot be changed in place).
  const std::string executable = (fs::path(home_) / fakeJvmExe()).string();
  const std::string bytes = readWholeFile(executable);
  fs::rename(executable, executable + ".old");  // Windows renames a running program's file
  writeWholeFile(executable, bytes + "\n");
  fs::permissions(executable, fs::perms::owner_all);
  EXPECT_TRUE(verifiesByRunning());
  EXPECT_FALSE(verifiesByRunning());

  touch(home_ + os::pathSeparator() + "release");
  EXPECT_TRUE(verifiesByRunning());
  touch(home_ + os::pathSeparator() + platformPath("lib/modules"));
  EXPECT_TRUE(verifiesByRunning());
  EXPECT_FALSE(verifiesByRunning());

  EXPECT_TRUE(verifiesByRunning("\"OtherVerify\""));
  tags_.addValue("JVM_PROPERTIES", "java.version=1.4");
  EXPECT_TRUE(verifiesByRunning());
  EXPECT_FALSE(verifiesByRunning());
}

TEST_F(VerificationCacheTest, ADamagedOrForeignFileIsIgnoredAndWrittenAnew) {
  writeWholeFile(dir_.file("cache/verified-jvms"), "not a cache\n\\x\tbroken\n");
  EXPECT_TRUE(verifiesByRunning());
  EXPECT_EQ(readWholeFile(dir_.file("cache/verified-jvms")).rfind("quillmark verification cache 1\n", 0), 0u);
  VerificationCache again(dir_.file("cache/verified-jvms"));
  cacheInUse_ = &again;
  EXPECT_FALSE(verifiesByRunning());
}

TEST(VerificationCacheFile, WritersAtOnceKeepEachOthersEntriesAndTheOldestGoFirst) {
  ScopedTempDir dir;
  const std::string path = dir.file("cache");
  VerificationCache first(path), second(path);
  std::string output;
  EXPECT_FALSE(first.lookup("a", &output));  // first has read the (missing) file
  second.store("b", "B\nout");
  first.store("a", "A\tout\\");
  VerificationCache reader(path);
  ASSERT_TRUE(reader.lookup("a", &output));
  EXPECT_EQ(output, "A\tout\\");
  ASSERT_TRUE(reader.lookup("b", &output));
  EXPECT_EQ(output, "B\nout");

  for (size_t i = 0; i < kMaxCachedVerifications; ++i) first.store("k" + std::to_string(i), "x");
  VerificationCache bounded(path);
  EXPECT_FALSE(bounded.lookup("b", &output));
  EXPECT_TRUE(bounded.lookup("k0", &output));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(VerificationCacheFile, TheOptionAndTheVariableSwitchItOff) {
  ScopedTempDir dir;
  ScopedVariable xdg("XDG_CACHE_HOME", dir.path().c_str());
  ScopedVariable local("LOCALAPPDATA", dir.path().c_str());
  {
    ScopedVariable on("QM_NO_VERIFY_CACHE", nullptr);
    EXPECT_EQ(verificationCachePath(false, nullptr),
              dir.path() + os::pathSeparator() + "quillmark" + os::pathSeparator() + "verified-jvms");
    EXPECT_EQ(verificationCachePath(true, nullptr), "");
  }
  EXPECT_EQ(verificationCachePath(false, nullptr), "");  // QM_NO_VERIFY_CACHE as the test program sets it
}

}  // namespace
