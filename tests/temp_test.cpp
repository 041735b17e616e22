#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "archive/extract.h"
#include "archive/free_space.h"
#include "archive/index.h"
#include "base/directory_walker.h"
#include "base/exceptions.h"
#include "base/messages.h"
#include "launcher/launcher_run.h"
#include "os/fault_injection.h"
#include "os/file_system.h"
#include "os/path.h"
#include "tagfile/tag_file.h"
#include "temp/cleanup_list.h"
#include "temp/temp.h"
#include "temp_area_fixture.h"

namespace fs = std::filesystem;

namespace {

std::string bigEndian(uint32_t value, int width) {
  std::string bytes;
  for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
    bytes += static_cast<char>((value >> shift) & 0xFF);
  return bytes;
}

struct StoredFile {
  FileType type;
  std::string name;
  std::string bytes;
};

// A launcher file as the archive writer lays it out: an image, the stored
// bytes, the index, the kind byte, the index offset and the identification.
std::string launcherBytes(const std::vector<StoredFile>& files) {
  std::string image = "MZ not really an executable image";
  std::vector<uint32_t> offsets;
  for (const StoredFile& file : files) {
    offsets.push_back(static_cast<uint32_t>(image.size()));
    image += file.bytes;
  }
  const uint32_t indexOffset = static_cast<uint32_t>(image.size());
  image += bigEndian(static_cast<uint32_t>(files.size()), 4);
  for (size_t i = 0; i < files.size(); ++i) {
    image += static_cast<char>(files[i].type);
    image += bigEndian(static_cast<uint32_t>(i), 4);
    image += bigEndian(static_cast<uint32_t>(files[i].bytes.size()), 4);
    image += bigEndian(offsets[i], 4);
    image += bigEndian(static_cast<uint32_t>(files[i].name.size()), 2);
    image += files[i].name;
    image += '\0';
  }
  image += '\0';
  image += bigEndian(indexOffset, 4);
  image += "\xCA\x82\xCA\x82";
  return image;
}

std::string patterned(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + i / 251) & 0xFF);
  return bytes;
}

// Runs a test step in another current directory.
class CurrentDirectory {
public:
  explicit CurrentDirectory(const std::string& path) : saved_(fs::current_path()) { fs::current_path(path); }
  ~CurrentDirectory() { fs::current_path(saved_); }

private:
  fs::path saved_;
};

class TempTest : public TempAreaTest {
protected:
  std::string messageOf(void (*step)()) {
    return thrownMessage(step);
  }

  std::string writeLauncher(const std::vector<StoredFile>& files) {
    const std::string path = root_.file("launcher.exe");
    writeWholeFile(path, launcherBytes(files));
    settings().launcherFile = path;
    return path;
  }

  int progressSteps() const {
    return static_cast<int>(std::count(app_.calls.begin(), app_.calls.end(), "advance:1"));
  }
};

std::string nameOf(const std::string& path) { return fs::path(path).filename().string(); }

}  // namespace

TEST_F(TempTest, PrivateDirectoriesAndFilesAreNewEachTimeAndRecordedInOrder) {
  const std::string first = testTemp().createPrivateDir();
  const std::string second = testTemp().createPrivateDir();
  const std::string file = testTemp().createTempFile();
  EXPECT_NE(first, second);
  EXPECT_TRUE(fs::is_directory(first));
  EXPECT_TRUE(fs::is_directory(second));
  EXPECT_TRUE(fs::is_regular_file(file));
  EXPECT_EQ(fs::file_size(file), 0u);
  for (const std::string& path : {first, second, file}) {
    EXPECT_TRUE(fs::equivalent(fs::path(path).parent_path(), root_.path())) << path;
    EXPECT_EQ(nameOf(path).substr(0, 3), "LRE") << path;
    EXPECT_NE(path.back(), os::pathSeparator());
  }
  EXPECT_EQ(testTemp().cleanupList().directories(), (std::vector<std::string>{first, second}));
  EXPECT_EQ(testTemp().cleanupList().files(), std::vector<std::string>{file});
}

TEST_F(TempTest, AReservedNameThatCannotBeDeletedIsStillRemovedAtExit) {
  os::failNth(os::FaultPoint::kDeleteFile, 1, os::systemErrorCode(os::SystemFailure::kAccessDenied));
  const std::string directory = testTemp().createPrivateDir();
  os::resetFaults();
  EXPECT_TRUE(fs::is_directory(directory));
  testTemp().removeAll();
  EXPECT_TRUE(fs::is_empty(root_.path()));
}

TEST_F(TempTest, ForgettingIgnoresLetterCaseAndTakesOnlyTheFirstMatch) {
  CleanupList& list = testTemp().cleanupList();
  list.addTempDir("C:\\Temp\\LRE1.tmp");
  list.addTempDir("c:\\temp\\lre1.TMP");
  list.addTempFile("C:\\Temp\\LRE2.tmp");
  testTemp().forgetDir("c:\\TEMP\\lre1.tmp");
  EXPECT_EQ(list.directories(), std::vector<std::string>{"c:\\temp\\lre1.TMP"});
  testTemp().forgetFile("C:\\Temp\\LRE3.tmp");  // not recorded: nothing happens
  testTemp().forgetFile("C:\\Temp\\LRE2");      // a prefix is not the path
  EXPECT_EQ(list.files(), std::vector<std::string>{"C:\\Temp\\LRE2.tmp"});
  testTemp().forgetFile("C:\\TEMP\\lre2.tmp");
  EXPECT_TRUE(list.files().empty());
}

TEST_F(TempTest, RootThatIsNoDirectoryIsRefusedWithItsPathAndNothingIsMade) {
  const std::string file = root_.file("plain.txt");
  writeWholeFile(file, "x");
  const std::string expected = formatMessage(kTextTempDirMissing, {file});
  ASSERT_NE(expected.find(file), std::string::npos);
  testTemp().setRoot(file);
  EXPECT_EQ(messageOf([] { testTemp().createPrivateDir(); }), expected);
  EXPECT_EQ(messageOf([] { testTemp().createTempFile(); }), expected);
  testTemp().setRoot(root_.file("missing"));
  EXPECT_EQ(messageOf([] { testTemp().root(); }),
            formatMessage(kTextTempDirMissing, {root_.file("missing")}));
  EXPECT_TRUE(testTemp().cleanupList().directories().empty());
  EXPECT_TRUE(testTemp().cleanupList().files().empty());
}

TEST_F(TempTest, RelativeRootIsFixedAgainstTheCurrentDirectory) {
  // A directory beside the test's current one, named relatively.
  const std::string name = "qm-relative-root-" + std::to_string(std::rand());
  ASSERT_TRUE(os::createDirectory(name).ok());
  testTemp().setRoot(name);
  const std::string file = testTemp().createTempFile();
  const std::string root = testTemp().root();
  os::deleteFile(file);
  testTemp().forgetFile(file);
  os::removeDirectory(name);
  EXPECT_NE(root, name);
  EXPECT_EQ(root, os::absolutePath(name));
  EXPECT_EQ(file.rfind(root, 0), 0u) << file;
  // Absolute on both platforms: from the root of a drive or of the tree.
  EXPECT_TRUE(root[0] == '/' || root.find(":\\") == 1) << root;
}

TEST_F(TempTest, FileExistsCountsOnlyFilesThatOpenAndLogsOtherFailures) {
  const std::string file = root_.file("there.txt");
  writeWholeFile(file, "x");
  EXPECT_TRUE(fileExists(file));
  EXPECT_FALSE(fileExists(root_.file("absent-dir") + os::pathSeparator() + "x.txt"));
  EXPECT_EQ(log(), "");
  // A directory does not open as a file: not a file, and the reason is logged.
  EXPECT_FALSE(fileExists(root_.path()));
  EXPECT_NE(log(), "");
}

TEST(FreeSpace, ClustersFollowTheFileCount) {
  EXPECT_EQ(clustersNeeded(164, 1, 4096), 1);
  EXPECT_EQ(clustersNeeded(1000 + 9000, 3 + 1, 4096), 6);
  EXPECT_EQ(clustersNeeded(8192, 1, 4096), 2);  // no remainder, no extra cluster
  EXPECT_EQ(clustersNeeded(8193, 2, 4096), 4);  // spare clusters, not rounding
  EXPECT_EQ(clustersNeeded(100, 0, 4096), 0);
}

TEST(FreeSpace, ComparesWholeClusters) {
  EXPECT_TRUE(enoughFreeSpace(1, 4096, 164, 1));
  EXPECT_FALSE(enoughFreeSpace(0, 4096, 164, 1));
  EXPECT_TRUE(enoughFreeSpace(6, 4096, 10000, 4));
  EXPECT_FALSE(enoughFreeSpace(5, 4096, 10000, 4));
  EXPECT_TRUE(enoughFreeSpace(0, 4096, 100, 0));
  // Beyond 32 bits the comparison must not wrap.
  EXPECT_FALSE(enoughFreeSpace(0xFFFFFFFFu, 0x10000u, int64_t(1) << 62, 1));
  EXPECT_TRUE(enoughFreeSpace(0xFFFFFFFFu, 0x10000u, int64_t(1) << 46, 1));
  // A volume without a cluster size cannot be divided by.
  EXPECT_TRUE(enoughFreeSpace(0, 0, 100, 1));
}

TEST_F(TempTest, FreeSpaceOfTheRealVolume) {
  EXPECT_TRUE(hasFreeSpace(root_.file("not-yet") + os::pathSeparator() + "x", 1, 1));
  EXPECT_FALSE(hasFreeSpace(root_.path(), int64_t(1) << 62, 1));
}

TEST_F(TempTest, ExtractionCopiesTheStoredBytesInBufferSizedSteps) {
  const std::string big = patterned(2 * 61439 + 7122);
  writeLauncher({{INSTRUCTIONS, "first.txt", "abc"}, {APPLICATION_ARCHIVE, "app.jar", big}});
  testRun().loadArchive(false);
  const std::string target = testTemp().createPrivateDir();
  const std::string path = extractTo(*testRun().archive().fileIndex().entryAt(1), target);
  EXPECT_EQ(path, target + os::pathSeparator() + "app.jar");
  EXPECT_EQ(readWholeFile(path), big);
  EXPECT_EQ(progressSteps(), 3);
  // The extracted file itself is not recorded: its directory is.
  EXPECT_TRUE(testTemp().cleanupList().files().empty());
}

TEST_F(TempTest, ExtractionIntoNoDirectoryWritesIntoTheCurrentOne) {
  writeLauncher({{VERIFIER_ARCHIVE, "Verify.jar", "PK verifier"}});
  testRun().loadArchive(false);
  ScopedTempDir work;
  std::string path;
  {
    CurrentDirectory here(work.path());
    path = extractTo(*testRun().archive().fileIndex().entryAt(0), "");
  }
  EXPECT_EQ(path, "Verify.jar");
  EXPECT_EQ(readWholeFile(work.file("Verify.jar")), "PK verifier");
  EXPECT_EQ(progressSteps(), 1);
}

TEST_F(TempTest, ExtractionFailuresNameTheErrorAndAreNeverSuccess) {
  writeLauncher({{APPLICATION_ARCHIVE, "app.jar", "0123456789"}});
  testRun().loadArchive(false);
  const FileEntry& stored = *testRun().archive().fileIndex().entryAt(0);
  const std::string writeError = loadMessageText(kTextErrorWritingFile);
  const std::string spaceError = loadMessageText(kTextNotEnoughSpace);
  auto failureOf = [&](const FileEntry& entry, const std::string& directory) {
    return thrownMessage([&] { extractTo(entry, directory); });
  };

  EXPECT_EQ(failureOf(stored, root_.file("no-such-dir")), writeError + std::to_string(ENOENT) + spaceError);

  // A launcher file that ends before the entry does gives no silent half copy.
  FileEntry truncated;
  truncated.fileName = "cut.jar";
  truncated.offset = stored.offset;
  truncated.length = 100000;
  // It is named as what it is, with the sizes, and nothing of it stays.
  EXPECT_EQ(failureOf(truncated, root_.path()),
            "The launcher file is damaged or incomplete: cut.jar ends at byte " +
                std::to_string(stored.offset + 100000) + ", the file at byte " +
                std::to_string(fs::file_size(settings().launcherFile)) + ".");
  EXPECT_FALSE(fs::exists(root_.file("cut.jar")));

  // Estimated to need far more than any disk has: nothing is written.
  FileEntry huge;
  huge.fileName = "huge.jar";
  huge.compressed = true;
  huge.decompressedSize = INT32_MAX;
  huge.decompressedFileCount = INT32_MAX;
  EXPECT_EQ(failureOf(huge, root_.path()), writeError + spaceError);
  EXPECT_FALSE(fs::exists(root_.file("huge.jar")));

  // A name that would place the copy elsewhere is refused.
  // So is one Windows cannot hold as an ordinary file.
  for (const char* name : {"../escape.jar", "..\\escape.jar", "C:escape.jar", "..", "",
                           "CON", "nul.txt", "Com1.jar", "lpt9", "app.jar.", "app.jar "}) {
    FileEntry escaping;
    escaping.fileName = name;
    EXPECT_EQ(failureOf(escaping, root_.file("inner")), "Invalid file name in file index: " + std::string(name));
  }
  EXPECT_FALSE(fs::exists(root_.file("escape.jar")));
}

TEST_F(TempTest, ExtractAllWritesEveryFileAndAnInputFileThatRunsThem) {
  writeLauncher({{INSTRUCTIONS, "instructions.txt", "INSTRUCTIONS:\n  END\n/:\n"},
                 {VERIFIER_ARCHIVE, "Verify.jar", "PK1"},
                 {LAUNCHSCRIPT, "launch.txt", "DESC: Demo\n"},
                 {JVM, "first.jvm", "JVM_EXE: bin/java\n"},
                 {JVM, "second.jvm", "JVM_EXE: bin/javaw\n"},
                 {APPLICATION_ARCHIVE, "app.jar", "PK2"}});
  testRun().loadArchive(false);
  ScopedTempDir work;
  {
    CurrentDirectory here(work.path());
    extractAll(testRun().archive().fileIndex(), false);
  }
  EXPECT_EQ(readWholeFile(work.file("instructions.txt")), "INSTRUCTIONS:\n  END\n/:\n");
  EXPECT_EQ(readWholeFile(work.file("Verify.jar")), "PK1");
  EXPECT_EQ(readWholeFile(work.file("launch.txt")), "DESC: Demo\n");
  EXPECT_EQ(readWholeFile(work.file("second.jvm")), "JVM_EXE: bin/javaw\n");
  EXPECT_EQ(readWholeFile(work.file("app.jar")), "PK2");
  const TagFile input(work.file("input.tag"));
  EXPECT_EQ(input.value("ACTION"), "RUN_INSTRUCTIONS");
  EXPECT_EQ(input.value("INSTRUCTIONS"), "instructions.txt");
  EXPECT_EQ(input.value("LAUNCHSCRIPT"), "launch.txt");
  ASSERT_EQ(input.valueCount("JVM"), 2);
  EXPECT_EQ(input.value("JVM", 0), "first.jvm");
  EXPECT_EQ(input.value("JVM", 1), "second.jvm");

  // A file already there is never replaced silently: nothing is written.
  writeWholeFile(work.file("app.jar"), "the user's");
  fs::remove(work.file("instructions.txt"));
  {
    CurrentDirectory here(work.path());
    EXPECT_THROW(extractAll(testRun().archive().fileIndex(), false), LauncherException);
    EXPECT_FALSE(fs::exists(work.file("instructions.txt")));
    EXPECT_EQ(readWholeFile(work.file("app.jar")), "the user's");
    extractAll(testRun().archive().fileIndex(), true);
    EXPECT_EQ(readWholeFile(work.file("app.jar")), "PK2");
  }

  // An input file that cannot be written fails the extraction.
  ScopedTempDir blocked;
  fs::create_directory(blocked.file("input.tag"));
  CurrentDirectory there(blocked.path());
  EXPECT_THROW(extractAll(testRun().archive().fileIndex(), true), LauncherException);
}

namespace {

class RecordingWalker : public DirectoryWalker {
public:
  bool visitFile(const std::string& path) override {
    files.push_back(path);
    return !stopAt.empty() && nameOf(path) == stopAt;
  }
  bool skipDirectory(const std::string& path) override {
    return !skip.empty() && path.size() > skip.size() && path.substr(path.size() - skip.size() - 1, skip.size()) == skip;
  }

  std::vector<std::string> files;
  std::string skip;
  std::string stopAt;
};

class WalkerTest : public LauncherStateTest {
protected:
  void SetUp() override {
    LauncherStateTest::SetUp();
    for (const char* dir : {"a", "a/deep", "b", "empty"}) fs::create_directories(fs::path(root_.path()) / dir);
    for (const char* file : {"top.txt", "a/one.txt", "a/deep/two.txt", "b/three.txt"})
      writeWholeFile((fs::path(root_.path()) / file).string(), file);
  }

  std::string at(const std::string& relative) const {
    return (fs::path(root_.path()) / fs::path(relative).make_preferred()).string();
  }
  std::set<std::string> fileNames(const RecordingWalker& walker) const {
    std::set<std::string> names;
    for (const std::string& path : walker.files) names.insert(nameOf(path));
    return names;
  }

  ScopedTempDir root_;
};

size_t positionOf(const std::vector<std::string>& list, const std::string& item) {
  return static_cast<size_t>(std::find(list.begin(), list.end(), item) - list.begin());
}

}  // namespace

TEST_F(WalkerTest, VisitsEveryFileOnceAndEntersParentsBeforeChildren) {
  RecordingWalker walker;
  EXPECT_FALSE(walker.walk(root_.path()));
  EXPECT_EQ(fileNames(walker), (std::set<std::string>{"top.txt", "one.txt", "two.txt", "three.txt"}));
  EXPECT_EQ(walker.files.size(), 4u);
  EXPECT_TRUE(std::find(walker.files.begin(), walker.files.end(), at("a/deep/two.txt")) != walker.files.end());
  const std::vector<std::string>& visited = walker.visited();
  ASSERT_EQ(visited.size(), 5u);
  EXPECT_EQ(visited[0], root_.path());
  EXPECT_LT(positionOf(visited, at("a")), positionOf(visited, at("a/deep")));
  EXPECT_LT(positionOf(visited, at("b")), visited.size());
  EXPECT_LT(positionOf(visited, at("empty")), visited.size());
  // Depth first: a/deep comes right after a, before any sibling of a listed later.
  EXPECT_EQ(positionOf(visited, at("a/deep")), positionOf(visited, at("a")) + 1);

  walker.files.clear();
  walker.walk(root_.path());  // every walk starts afresh
  EXPECT_EQ(walker.files.size(), 4u);
  EXPECT_EQ(walker.visited().size(), 5u);
}

TEST_F(WalkerTest, SkippedDirectoriesAreNotListedAndAFileCanStopTheWalk) {
  RecordingWalker skipping;
  skipping.skip = "a";
  EXPECT_FALSE(skipping.walk(root_.path()));
  EXPECT_EQ(fileNames(skipping), (std::set<std::string>{"top.txt", "three.txt"}));
  EXPECT_LT(positionOf(skipping.visited(), at("a")), skipping.visited().size());
  EXPECT_EQ(positionOf(skipping.visited(), at("a/deep")), skipping.visited().size());

  RecordingWalker stopping;
  stopping.stopAt = "two.txt";
  EXPECT_TRUE(stopping.walk(root_.path()));
  EXPECT_EQ(nameOf(stopping.files.back()), "two.txt");
  EXPECT_EQ(fileNames(stopping).count("two.txt"), 1u);
}

TEST_F(WalkerTest, MissingRootIsPassedOverAndEveryHundredthFileAdvancesProgress) {
  RecordingWalker walker;
  EXPECT_FALSE(walker.walk(at("missing")));
  EXPECT_TRUE(walker.files.empty());
  for (int i = 0; i < 246; ++i) writeWholeFile(at("b/f" + std::to_string(i)), "");
  walker.walk(root_.path());
  EXPECT_EQ(walker.files.size(), 250u);
  EXPECT_EQ(std::count(app_.calls.begin(), app_.calls.end(), "advance:1"), 2);
}
