#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cleanup/self_removal.h"
#include "cleanup/wininit_rename.h"
#include "launcher/app.h"
#include "temp/cleanup_list.h"
#include "temp/temp.h"
#include "temp_area_fixture.h"

namespace fs = std::filesystem;

namespace {

class CleanupTest : public TempAreaTest {
protected:
  static std::string in(const std::string& directory, const std::string& relative) {
    return (fs::path(directory) / fs::path(relative).make_preferred()).string();
  }
  static void makeFile(const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    writeWholeFile(path, "content");
  }
};

}  // namespace

TEST_F(CleanupTest, ARunThatMadeNothingLeavesNoTrace) {
  settings().debugLogEnabled = true;
  settings().debugLogFile = logs_.file("debug.log");
  testTemp().removeAll();
  EXPECT_FALSE(fs::exists(logs_.file("debug.log")));
  EXPECT_FALSE(fs::exists(logs_.file("run.log")));
  EXPECT_TRUE(fs::exists(root_.path()));
}

TEST_F(CleanupTest, RemovesNewestFirstAndAllDirectoriesBeforeAnyFile) {
  settings().debugLogEnabled = true;
  settings().debugLogFile = logs_.file("debug.log");
  const std::string olderDir = testTemp().createPrivateDir();
  const std::string olderFile = testTemp().createTempFile();
  const std::string newerDir = testTemp().createPrivateDir();
  const std::string newerFile = testTemp().createTempFile();
  makeFile(in(olderDir, "sub/inner/a.jar"));
  makeFile(in(newerDir, "b.jar"));
  testTemp().removeAll();
  EXPECT_EQ(readTextFile(logs_.file("debug.log")),
            "Launcher: Deleting dir: " + newerDir + "\nLauncher: Deleting dir: " + olderDir +
                "\nLauncher: Deleting file: " + newerFile + "\nLauncher: Deleting file: " + olderFile + "\n");
  for (const std::string& path : {olderDir, olderFile, newerDir, newerFile}) EXPECT_FALSE(fs::exists(path)) << path;
  EXPECT_TRUE(testTemp().cleanupList().directories().empty());
  EXPECT_TRUE(testTemp().cleanupList().files().empty());
  EXPECT_FALSE(fs::exists(logs_.file("run.log")));  // no warnings
}

TEST_F(CleanupTest, ReadOnlyFilesAndDirectoriesAreDeleted) {
  const std::string dir = testTemp().createPrivateDir();
  const std::string file = in(dir, "locked/readonly.txt");
  makeFile(file);
  fs::permissions(file, fs::perms::owner_read, fs::perm_options::replace);
  testTemp().removeAll();
  EXPECT_FALSE(fs::exists(dir));
}

TEST_F(CleanupTest, DeletePathTellsMissingFromDeleted) {
  const std::string file = in(root_.path(), "single.txt");
  makeFile(file);
  const std::string tree = in(root_.path(), "tree");
  makeFile(in(tree, "x/y/z.txt"));
  makeFile(in(tree, "w.txt"));
  EXPECT_EQ(testTemp().deletePath(in(root_.path(), "absent")), -1);
  EXPECT_EQ(testTemp().deletePath(file), 1);
  EXPECT_EQ(testTemp().deletePath(tree), 1);
  EXPECT_FALSE(fs::exists(file));
  EXPECT_FALSE(fs::exists(tree));
}

TEST_F(CleanupTest, ARegisteredDirectoryReplacedByALinkLosesOnlyTheLink) {
  const std::string dir = testTemp().createPrivateDir();
  const std::string target = in(logs_.path(), "users-files");
  makeFile(in(target, "precious.txt"));
  fs::remove(dir);
  std::error_code refused;
  fs::create_directory_symlink(target, dir, refused);
  if (refused) GTEST_SKIP() << "no directory links here: " << refused.message();
  testTemp().removeAll();
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir)));
  EXPECT_TRUE(fs::exists(in(target, "precious.txt")));
}

TEST_F(CleanupTest, HeldFileKeepsItsDirectoriesAndIsRetriedOnlyForAWhile) {
  const std::string dir = testTemp().createPrivateDir();
  const std::string held = in(dir, "keep/held.jar");
  makeFile(held);
  makeFile(in(dir, "keep/other.jar"));
  makeFile(in(dir, "keep/inner/f.txt"));
  makeFile(in(dir, "gone/g.txt"));
  makeFile(in(dir, "top.txt"));
  fs::create_directories(in(dir, "kee"));  // named like the start of "keep"
  fs::create_directories(in(dir, "ke"));
  const std::string laterFile = testTemp().createTempFile();
  int attempts = 0;
  testTemp().setDeletionRefusal([&](const std::string& path) -> unsigned long {
    if (path != held) return 0;
    ++attempts;
    return 5;
  });
  testTemp().setRemovalRetryTiming({std::chrono::milliseconds(1), std::chrono::milliseconds(4)});

  testTemp().removeAll();

  EXPECT_EQ(attempts, 5);  // the first try and one after each of four waits
  EXPECT_TRUE(fs::exists(held));
  EXPECT_TRUE(fs::exists(in(dir, "keep")));
  EXPECT_TRUE(fs::exists(dir));
  for (const char* gone : {"keep/other.jar", "keep/inner", "gone", "top.txt", "kee", "ke"})
    EXPECT_FALSE(fs::exists(in(dir, gone))) << gone;
  // Each attempt warns about the held file and the directory it keeps.
  const std::string text = log();
  EXPECT_EQ(countOf(text, "WARNING: Could not delete " + held + " :  "), attempts);
  EXPECT_EQ(countOf(text, "WARNING: Could not delete " + in(dir, "keep") + " :  "), attempts);
  EXPECT_EQ(countOf(text, "WARNING: Could not delete "), 2 * attempts);
  EXPECT_EQ(countOf(text, "WARNING: Giving up on removing " + dir), 1);
  // Then the cleanup goes on with the rest.
  EXPECT_FALSE(fs::exists(laterFile));
  EXPECT_TRUE(testTemp().cleanupList().directories().empty());
}

TEST_F(CleanupTest, OnlyALaunchersOwnCopyInItsPrivateDirectoryIsRemoved) {
  const std::string copy = in(testTemp().createPrivateDir(), "product.exe");
  makeFile(copy);
  EXPECT_TRUE(isPrivateCopyOfALauncher(copy, root_.path()));
  // The user's own folder, a folder that merely looks private, one that
  // holds other files too: all refused.
  const std::string users = in(root_.path(), "apps/product.exe");
  const std::string lookalike = in(logs_.path(), "LRE1.tmp/product.exe");
  makeFile(users);
  makeFile(lookalike);
  EXPECT_FALSE(isPrivateCopyOfALauncher(users, root_.path()));
  EXPECT_FALSE(isPrivateCopyOfALauncher(lookalike, root_.path()));
  makeFile(in(fs::path(copy).parent_path().string(), "notes.txt"));
  EXPECT_FALSE(isPrivateCopyOfALauncher(copy, root_.path()));

  // Where the running launcher may be deleted at once (POSIX), the refusal
  // shows as the file staying.
  settings().launcherFile = users;
  settings().removeLauncherAtExit = true;
  cleanupAtExit(testTemp());
  EXPECT_TRUE(fs::exists(users));
  EXPECT_NE(log().find("WARNING: Refusing to remove " + users), std::string::npos);
}

TEST(SelfRemovalBatch, TriesForAWhileThenRemovesTheDirectoryAndItself) {
  const std::string giveUp = "if \"%qmtries%\"==\"" + std::string(kSelfRemovalTries, 'x') + "\" goto Done\r\n";
  EXPECT_EQ(selfRemovalBatch("C:\\T\\LRE1.tmp\\app.exe", "C:\\T\\LRE1.tmp", "C:\\T\\LRE2.bat", nullptr),
            "set qmtries=\r\n"
            ":Repeat\r\n"
            "del \"C:\\T\\LRE1.tmp\\app.exe\"\r\n"
            "if not exist \"C:\\T\\LRE1.tmp\\app.exe\" goto Removed\r\n"
            "set qmtries=%qmtries%x\r\n" +
                giveUp +
                "ping -n 2 127.0.0.1 > nul\r\n"
                "goto Repeat\r\n"
                ":Removed\r\n"
                "rmdir /q \"C:\\T\\LRE1.tmp\"\r\n"
                ":Done\r\n"
                "del \"C:\\T\\LRE2.bat\"\r\n");
  const std::string debugLog = "C:\\debug.log";
  const std::string logged = selfRemovalBatch("C:\\D\\a.exe", "", "C:\\T\\b.bat", &debugLog);
  EXPECT_NE(logged.find(":Repeat\r\n@echo Deleting C:\\D\\a.exe from within batch file. >> C:\\debug.log\r\n"),
            std::string::npos);
  EXPECT_NE(logged.find(":Removed\r\n:Done\r\ndel \"C:\\T\\b.bat\"\r\n"
                        "@echo Deleted batch file C:\\T\\b.bat from within batch file. >> C:\\debug.log\r\n"),
            std::string::npos);
}

TEST(SelfRemovalBatch, PathsCannotExpandOrBreakTheBatchLines) {
  const std::string debugLog = "C:\\My Logs\\a&b.log";
  std::string text = selfRemovalBatch("C:\\100%PATH%\\x&y.exe", "C:\\100%PATH%", "C:\\T\\b.bat", &debugLog);
  EXPECT_NE(text.find("del \"C:\\100%%PATH%%\\x&y.exe\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("rmdir /q \"C:\\100%%PATH%%\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("@echo Deleting C:\\100%%PATH%%\\x^&y.exe from within batch file. >> \"C:\\My Logs\\a&b.log\"\r\n"),
            std::string::npos);
  // Every run of percent signs is doubled, so none of them expands; the
  // batch's own counter is the one variable meant to expand.
  for (size_t at = text.find("%qmtries%"); at != std::string::npos; at = text.find("%qmtries%"))
    text.erase(at, 9);
  for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at)) {
    const size_t end = text.find_first_not_of('%', at);
    EXPECT_EQ((end - at) % 2, 0u) << text.substr(at);
    at = end;
  }
}

TEST(WinInitRename, SectionIsAppendedWhenMissing) {
  EXPECT_EQ(insertRenameEntries("", {"NUL=C:\\A.EXE", "NUL=C:\\DIR"}), "[Rename]\nNUL=C:\\A.EXE\nNUL=C:\\DIR\n");
  EXPECT_EQ(insertRenameEntries("[boot]\r\nx=1\r\n", {"NUL=C:\\A"}), "[boot]\r\nx=1\r\n[Rename]\nNUL=C:\\A\n");
  EXPECT_EQ(insertRenameEntries("[boot]\r\nx=1", {"NUL=C:\\A"}), "[boot]\r\nx=1\n[Rename]\nNUL=C:\\A\n");
  // Only the text up to the first zero byte is searched.
  const std::string hidden("ab\0[Rename]\n", 12);
  EXPECT_EQ(insertRenameEntries(hidden, {"NUL=X"}), hidden + "[Rename]\nNUL=X\n");
}

TEST(WinInitRename, EntriesGoRightAfterTheSectionLine) {
  EXPECT_EQ(insertRenameEntries("[Rename]\r\nNUL=OLD\r\n[x]\r\n", {"NUL=A", "NUL=B"}),
            "[Rename]\r\nNUL=A\nNUL=B\nNUL=OLD\r\n[x]\r\n");
  EXPECT_EQ(insertRenameEntries("[a]\n[Rename]", {"NUL=A"}), "[a]\n[Rename]\nNUL=A\n");
  EXPECT_EQ(insertRenameEntries("[rename]\n", {"NUL=A"}), "[rename]\n[Rename]\nNUL=A\n");  // case counts
}

TEST_F(CleanupTest, CommitWritesTheFileAndForgetsTheEntriesOnlyOnSuccess) {
  const std::string ini = in(root_.path(), "WinInit.Ini");
  const std::string absent = in(root_.path(), "gone.exe");  // no short form: used as given
  WinInitRename rename;
  EXPECT_TRUE(rename.commitTo(ini).ok());  // nothing to write: no file made
  EXPECT_FALSE(fs::exists(ini));
  rename.addDeletion(absent);
  EXPECT_EQ(rename.entries(), std::vector<std::string>{"NUL=" + absent});
  EXPECT_TRUE(rename.commitTo(ini).ok());
  EXPECT_TRUE(rename.entries().empty());
  EXPECT_EQ(readWholeFile(ini), "[Rename]\nNUL=" + absent + "\n");

  writeWholeFile(ini, "[Rename]\r\nNUL=OLD\r\n");
  rename.addDeletion("A");
  rename.addDeletion("B");
  EXPECT_TRUE(rename.commitTo(ini).ok());
  EXPECT_EQ(readWholeFile(ini), "[Rename]\r\nNUL=A\nNUL=B\nNUL=OLD\r\n");

  rename.addDeletion("C");
  EXPECT_FALSE(rename.commitTo(in(root_.path(), "missing/WinInit.Ini")).ok());
  EXPECT_EQ(rename.entries(), std::vector<std::string>{"NUL=C"});
}
