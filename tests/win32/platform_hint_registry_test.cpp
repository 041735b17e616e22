// Platform hints against the real registry, in keys of the current user
// that each test makes and removes, and the drives the system lists.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/messages.h"
#include "fake_jvm.h"
#include "jvm/fixed_drives.h"
#include "jvm/platform_hint.h"

namespace {

class PlatformHintRegistryTest : public FakeJvmFixture {
protected:
  void SetUp() override {
    FakeJvmFixture::SetUp();
    root_ = "Software\\QuillmarkTest" + std::to_string(std::random_device()());
    jvmTags_.setValue("DESC", "Java 1.4");
    jvmTags_.setValue("JVM_EXE", fakeJvmExe());
    jvmTags_.setValue("JVM_PROPERTIES", "java.vendor=Sun Microsystems...");
  }
  void TearDown() override {
    // Children before parents: the oldest system calls delete leaf keys only.
    for (auto key = made_.rbegin(); key != made_.rend(); ++key)
      RegDeleteKeyA(HKEY_CURRENT_USER, key->c_str());
    FakeJvmFixture::TearDown();
  }

  // Sets a text value (empty name: the default value) below the test's key.
  void setText(const std::string& subkey, const std::string& name, const std::string& text) {
    std::string path = root_;
    if (made_.empty()) made_.push_back(path);
    size_t start = 0;
    while (start < subkey.size()) {
      const size_t end = subkey.find('\\', start);
      path += "\\" + subkey.substr(start, end - start);
      if (std::find(made_.begin(), made_.end(), path) == made_.end()) made_.push_back(path);
      start = end == std::string::npos ? subkey.size() : end + 1;
    }
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
  }

  std::string hint(const std::string& rest) const {
    return "\\HKEY_CURRENT_USER\\" + root_ + "\\" + rest;
  }
  std::vector<std::string> resolve(const std::string& text) {
    std::vector<std::string> homes;
    resolvePlatformHint(text, homes);
    return homes;
  }

  std::string root_;
  std::vector<std::string> made_;
  ScopedTempDir homes_;
};

TEST_F(PlatformHintRegistryTest, NamedValueThenTheDefaultValueOfTheKeyBelow) {
  setText("JRE\\1.4", "JavaHome", "C:\\j2re1.4.2");
  setText("JRE\\1.3\\JavaHome", "", "C:\\jre13");
  setText("JRE\\1.5", "JavaHome", "");
  EXPECT_EQ(resolve(hint("JRE\\1.4\\JavaHome")), std::vector<std::string>{"C:\\j2re1.4.2"});
  EXPECT_EQ(resolve(hint("JRE\\1.3\\JavaHome")), std::vector<std::string>{"C:\\jre13"});
  EXPECT_EQ(resolve(hint("JRE\\1.4\\").substr(1) + "JavaHome"),
            std::vector<std::string>{"C:\\j2re1.4.2"});
  EXPECT_TRUE(resolve(hint("JRE\\1.5\\JavaHome")).empty());
  EXPECT_EQ(takeLog(), "");
}

TEST_F(PlatformHintRegistryTest, AStarStandsForEveryVersionNewestFirst) {
  setText("JDK\\9", "JavaHome", "C:\\jdk9");
  setText("JDK\\21", "JavaHome", "C:\\jdk21");
  setText("JDK\\17", "Other", "C:\\unused");
  EXPECT_EQ(resolve(hint("JDK\\*\\JavaHome")), (std::vector<std::string>{"C:\\jdk21", "C:\\jdk9"}));
  EXPECT_EQ(takeLog(), "");  // a version without the value is no news
}

TEST_F(PlatformHintRegistryTest, UnreadableHintsWarnWithTheSystemsText) {
  setText("JRE\\1.4", "Other", "C:\\jre");
  std::string missingKey =
      "WARNING: " + formatMessage(kTextInvalidPlatformHint, {systemErrorText(ERROR_FILE_NOT_FOUND)});
  // The log is read back without the carriage returns that text mode wrote.
  missingKey.erase(std::remove(missingKey.begin(), missingKey.end(), '\r'), missingKey.end());
  EXPECT_TRUE(resolve(hint("NoSuchKey\\JavaHome")).empty());
  EXPECT_EQ(takeLog(), missingKey + "\n");
  EXPECT_TRUE(resolve(hint("JRE\\1.4\\JavaHome")).empty());
  EXPECT_EQ(takeLog(), missingKey + "\n");
}

TEST_F(PlatformHintRegistryTest, SearchChecksTheHomeEachHintNames) {
  const std::string home = homes_.file("jdk");
  makeFakeJvm(home, verifierOutput("Sun Microsystems Inc.", "1.4.2"));
  setText("Missing", "JavaHome", homes_.file("nothing"));
  setText("Found", "JavaHome", home);
  jvmTags_.addValue("PLATFORM_HINT", hint("Missing\\JavaHome"));
  jvmTags_.addValue("PLATFORM_HINT", "");
  jvmTags_.addValue("PLATFORM_HINT", hint("Found\\JavaHome"));
  jvmTags_.addValue("PLATFORM_HINT", "\\HKLM\\never\\reached");
  std::unique_ptr<JvmMatch> match = JvmFileSearch(jvm_).searchPlatformHints({"\"v.jar\"", "\"Verify\""});
  ASSERT_NE(match, nullptr);
  EXPECT_EQ(match->home(), home);
  EXPECT_EQ(linesStartingWith(takeLog(), {"Searching", "Checking JVM", "Found"}),
            (std::vector<std::string>{
                "Searching for Java 1.4 using platform hints",
                "Checking JVM at " + homes_.file("nothing") +
                    " which was resolved from platform hint " + hint("Missing\\JavaHome"),
                "Checking JVM at " + home + " which was resolved from platform hint " +
                    hint("Found\\JavaHome"),
                "Found matching JVM at " + home}));
}

// A JVM of the other width registers in the other view of the machine's
// software keys: a 32-bit launcher must find a 64-bit JDK, and the 64-bit
// build run here finds a 32-bit one the same way.
TEST_F(PlatformHintRegistryTest, AHomeInTheOtherRegistryViewIsFoundAndSaysWhere) {
  const std::vector<os::RegistryView> views = os::registryViews();
  if (views.size() < 2) GTEST_SKIP() << "this system has one registry view";
  const REGSAM otherView = views[1] == os::RegistryView::k32Bit ? 0x0200 : 0x0100;
  const std::string key = "Software\\QuillmarkView" + std::to_string(std::random_device()());
  const std::string home = homes_.file("jdk");
  makeFakeJvm(home, verifierOutput("Sun Microsystems Inc.", "1.4.2"));
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS | otherView, nullptr, &created, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(created, "JavaHome", 0, REG_SZ, reinterpret_cast<const BYTE*>(home.c_str()),
                 static_cast<DWORD>(home.size() + 1));
  RegCloseKey(created);
  const std::string hint = "\\HKEY_LOCAL_MACHINE\\" + key + "\\JavaHome";
  jvmTags_.addValue("PLATFORM_HINT", hint);
  std::unique_ptr<JvmMatch> match = JvmFileSearch(jvm_).searchPlatformHints({"\"v.jar\"", "\"Verify\""});
  HKEY software = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_ALL_ACCESS | otherView, &software) ==
      ERROR_SUCCESS) {
    RegDeleteKeyA(software, key.substr(9).c_str());
    RegCloseKey(software);
  }
  ASSERT_NE(match, nullptr);
  EXPECT_EQ(match->home(), home);
  const std::string width = views[1] == os::RegistryView::k32Bit ? "32" : "64";
  // Missing from the process's own view: the usual warning, then the find.
  EXPECT_EQ(linesStartingWith(takeLog(), {"Checking JVM"}),
            std::vector<std::string>{"Checking JVM at " + home +
                                     " which was resolved from platform hint " + hint +
                                     " in the " + width + "-bit view of the registry"});
}

TEST(FixedDrives, SystemDrivesWithoutTheirSeparator) {
  std::vector<std::string> drives;
  fixedDrives(drives);
  ASSERT_FALSE(drives.empty());
  EXPECT_NE(std::find(drives.begin(), drives.end(), "C:"), drives.end());
  for (const std::string& drive : drives) {
    EXPECT_EQ(drive.size(), 2u) << drive;
    EXPECT_EQ(GetDriveTypeA((drive + "\\").c_str()), static_cast<UINT>(DRIVE_FIXED)) << drive;
  }
}

}  // namespace
