// The POSIX stand-ins for what Windows provides: the JVM path list built
// from JAVA_HOME, PATH and the install directories, and the fixed drives
// taken from the mount table.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_jvm.h"
#include "jvm/fixed_drives.h"
#include "jvm/jvm_file_search.h"
#include "jvm/jvm_paths.h"
#include "launch/jvm_file.h"
#include "os/jvm_paths.h"
#include "os/mounts_posix.h"

namespace fs = std::filesystem;

namespace {

class JvmPathsPosixTest : public FakeJvmFixture {};

TEST_F(JvmPathsPosixTest, EachHomeOnceAfterLinksAreResolved) {
  const std::string home = fs::canonical(dir_.path()).string() + "/jdk";
  makeFakeJvm(home, verifierOutput("Sun Microsystems Inc.", "1.4"));
  fs::create_directory_symlink(home, dir_.file("linked-home"));
  for (const char* directory : {"path1", "path2"}) {
    fs::create_directories(dir_.file(directory));
    fs::create_symlink(home + "/bin/fakejava", dir_.file(directory) + "/fakejava");
  }
  fs::create_directories(dir_.file("path3"));
  writeWholeFile(dir_.file("path3") + "/fakejava", "not executable");
  ScopedVariable javaHome("JAVA_HOME", dir_.file("linked-home").c_str());
  const std::string path = dir_.file("path1") + ":" + dir_.file("path3") + "::" +
                           dir_.file("path2") + ":" + variable("PATH");
  ScopedVariable searchPath("PATH", path.c_str());

  const std::vector<std::string> paths = os::platformJvmPaths("fakejava");
  ASSERT_GE(paths.size(), 2u);
  EXPECT_EQ(paths[0], home);
  EXPECT_EQ(paths[1], home + "/bin");
  const std::vector<JvmPathCandidate> candidates = jvmPathCandidates(paths, "bin/fakejava");
  EXPECT_EQ(candidates[0].home, home + "/");
  std::vector<std::string> homes;
  for (const JvmPathCandidate& c : candidates) homes.push_back(c.home);
  for (const std::string& h : homes)
    EXPECT_EQ(std::count(homes.begin(), homes.end(), h), 1) << h;
  // The install directories come sorted, their links resolved.
  for (const std::string& p : paths) {
    if (p.rfind("/usr/lib/jvm/", 0) == 0) {
      EXPECT_EQ(fs::canonical(p).string(), p);
    }
  }

  jvmTags_.setValue("DESC", "Fake");
  jvmTags_.setValue("JVM_EXE", "bin/fakejava");
  jvmTags_.setValue("JVM_PROPERTIES", "java.vendor=Sun...");
  takeLog();
  std::unique_ptr<JvmMatch> match = JvmFileSearch(jvm_).searchJvmPaths({"\"v.jar\"", "\"Verify\""});
  ASSERT_NE(match, nullptr);
  EXPECT_EQ(match->home(), home + "/");
  EXPECT_EQ(takeLog().rfind("Searching for Fake using platform specific JVM Path hints\n"
                            "Checking JVM at " + home + "/ which was resolved from the platform "
                            "JVM path " + home + "\n",
                            0),
            0u);
}

TEST_F(JvmPathsPosixTest, JdksInstalledWithSdkmanAreJvmPaths) {
  const std::string sdkman = fs::canonical(dir_.path()).string() + "/sdkman";
  fs::create_directories(sdkman + "/candidates/java/21.0.2-tem");
  fs::create_directories(sdkman + "/candidates/java/17.0.9-zulu");
  ScopedVariable variable("SDKMAN_DIR", sdkman.c_str());
  const std::vector<std::string> paths = os::platformJvmPaths("fakejava");
  const auto at = [&](const std::string& path) { return std::find(paths.begin(), paths.end(), path); };
  ASSERT_NE(at(sdkman + "/candidates/java/17.0.9-zulu"), paths.end());
  EXPECT_LT(at(sdkman + "/candidates/java/17.0.9-zulu"), at(sdkman + "/candidates/java/21.0.2-tem"));
}

TEST(MountTable, LocalDisksOutsideTheSystemTreesAreTheFixedDrives) {
  const std::vector<os::MountPoint> mounts = os::parseMountTable(
      "proc /proc proc rw 0 0\n"
      "/dev/vda / ext4 rw 0 0\n"
      "tmpfs /dev/shm tmpfs rw 0 0\n"
      "/dev/vdb /srv/my\\040data xfs rw 0 0\n"
      "server:/export /mnt/nfs nfs4 rw 0 0\n"
      "/dev/vdc /run/media/usb vfat rw 0 0\n"
      "/dev/vda /etc/hosts ext4 rw 0 0\n"
      "overlay / overlay rw 0 0\n"
      "short line\n");
  ASSERT_EQ(mounts.size(), 8u);
  EXPECT_EQ(mounts[3].path, "/srv/my data");
  EXPECT_EQ(mounts[3].type, "xfs");
  const auto isDirectory = [](const std::string& path) { return path != "/etc/hosts/"; };
  EXPECT_EQ(os::fixedRootsFrom(mounts, isDirectory),
            (std::vector<std::string>{"/", "/srv/my data/"}));
  const std::vector<std::string> fences = os::fencesFrom(mounts);
  for (const char* fence : {"/proc/", "/sys/", "/dev/", "/run/", "/mnt/nfs/", "/srv/my data/", "/"})
    EXPECT_NE(std::find(fences.begin(), fences.end(), fence), fences.end()) << fence;
  EXPECT_EQ(std::count(fences.begin(), fences.end(), "/"), 1);
}

TEST(MountTable, MachineDrivesAreDirectoriesOutsideTheSystemTrees) {
  std::vector<std::string> drives;
  fixedDrives(drives);
  for (const std::string& drive : drives) {
    EXPECT_TRUE(fs::is_directory(drive + "/")) << drive;
    for (const char* tree : {"/proc", "/sys", "/dev", "/run"})
      EXPECT_NE(drive.rfind(tree, 0), 0u) << drive;
  }
}

}  // namespace
