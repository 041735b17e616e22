#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "archive/index.h"
#include "archive/index_writer.h"
#include "base/exceptions.h"
#include "qmpack/check.h"
#include "qmpack/direct.h"
#include "qmpack/manifest.h"
#include "qmpack/pack.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

FileEntry entry(FileType type, const std::string& name) {
  FileEntry made;
  made.type = type;
  made.fileName = name;
  return made;
}

template <typename Action>
std::string errorOf(Action action) {
  return thrownMessage(action);
}

// Index writer -------------------------------------------------------------

TEST(IndexWriterTest, RefusesWhatTheReaderCannotReadBack) {
  EXPECT_EQ(entryRecordProblem(entry(JVM, std::string(kMaxEntryNameLength, 'n'))), "");
  EXPECT_NE(entryRecordProblem(entry(JVM, std::string(kMaxEntryNameLength + 1, 'n'))), "");
  EXPECT_EQ(entryRecordProblem(entry(JVM, "a\nb")), "the name contains a line feed");
  EXPECT_NE(entryRecordProblem(entry(static_cast<FileType>(8), "x")), "");
  EXPECT_NE(entryRecordProblem(entry(static_cast<FileType>(-1), "x")), "");

  FileEntry placed = entry(JVM, "x");
  placed.offset = INT32_MAX - 10;
  placed.length = 10;
  EXPECT_EQ(entryRecordProblem(placed), "");
  placed.length = 11;
  EXPECT_NE(entryRecordProblem(placed), "");
  placed.offset = -1;
  placed.length = 0;
  EXPECT_NE(entryRecordProblem(placed), "");

  FileEntry plainWithCounts = entry(JVM, "x");
  plainWithCounts.decompressedSize = 5;
  EXPECT_NE(entryRecordProblem(plainWithCounts), "");

  EXPECT_EQ(errorOf([] { serializeIndexRecord(entry(JVM, "a\nb")); }),
            "the name contains a line feed");
  std::vector<FileEntry> entries;
  entries.push_back(entry(JVM, "good"));
  entries.push_back(entry(JVM, "bad\n"));
  EXPECT_EQ(errorOf([&] { serializeIndex(entries); }),
            "Entry 2 (bad\n): the name contains a line feed");
}

TEST(IndexWriterTest, LaysEntriesEndToEndAfterTheStub) {
  std::vector<FileEntry> entries;
  entries.push_back(entry(INSTRUCTIONS, "a"));
  entries.push_back(entry(JVM, "b"));
  entries.push_back(entry(APPLICATION_ARCHIVE, "c"));
  const ArchiveLayout layout = layOutArchive(100, std::move(entries), {10, 0, 5}, 2);
  ASSERT_EQ(layout.entries.size(), 3u);
  EXPECT_EQ(layout.entries[0].offset, 100);
  EXPECT_EQ(layout.entries[0].length, 10);
  EXPECT_EQ(layout.entries[1].offset, 110);
  EXPECT_EQ(layout.entries[1].length, 0);
  EXPECT_EQ(layout.entries[2].offset, 110);
  EXPECT_EQ(layout.indexOffset, 115);
  EXPECT_EQ(layout.tail.substr(layout.tail.size() - 9),
            serializeTrailer(2, 115));
  EXPECT_EQ(layout.tail.substr(0, layout.tail.size() - 9), serializeIndex(layout.entries));
}

TEST(IndexWriterTest, RefusesLayoutsPastTwoGibibytes) {
  auto layOut = [](int64_t stub, std::vector<int64_t> sizes) {
    std::vector<FileEntry> entries;
    for (size_t i = 0; i < sizes.size(); ++i) entries.push_back(entry(JVM, "e"));
    return errorOf([&] { layOutArchive(stub, std::move(entries), sizes, 0); });
  };
  EXPECT_EQ(layOut(1000, {1000, 1000}), "");
  EXPECT_NE(layOut(INT32_MAX - 10, {100}), "");       // the entry's bytes
  EXPECT_NE(layOut(INT32_MAX - 100, {80}), "");       // the index behind them
  EXPECT_NE(layOut(int64_t{1} << 31, {}), "");        // the stub alone
  EXPECT_NE(layOut(0, {INT64_MAX, INT64_MAX}), "");   // sums that would overflow
  EXPECT_NE(layOut(0, {-1}), "");
}

// Manifest -------------------------------------------------------------------

TEST(QmpackManifestTest, ParsesEntryLines) {
  const fs::path base = fs::path("base") / "dir";
  PackSource plain = parseEntryLine("INSTRUCTIONS 0 instructions.txt", base);
  EXPECT_EQ(plain.entry.type, INSTRUCTIONS);
  EXPECT_EQ(plain.entry.id, 0);
  EXPECT_EQ(plain.path, base / "instructions.txt");
  EXPECT_EQ(plain.entry.fileName, "instructions.txt");
  EXPECT_FALSE(plain.entry.compressed);

  PackSource full = parseEntryLine(
      "\t6  -4 \"sub/My App.jar\" name=\"app one.jar\" compressed=12,482113 ", base);
  EXPECT_EQ(full.entry.type, APPLICATION_ARCHIVE);
  EXPECT_EQ(full.entry.id, -4);
  EXPECT_EQ(full.path, base / "sub/My App.jar");
  EXPECT_EQ(full.entry.fileName, "app one.jar");
  EXPECT_TRUE(full.entry.compressed);
  EXPECT_EQ(full.entry.decompressedFileCount, 12);
  EXPECT_EQ(full.entry.decompressedSize, 482113);

  const fs::path absolute = fs::absolute("elsewhere.jvm");
  EXPECT_EQ(parseEntryLine("JVM 3 \"" + absolute.string() + "\"", base).path, absolute);
  EXPECT_EQ(parseEntryLine("7 1 \"a\"\"b\"", base).entry.fileName, "a\"b");
  EXPECT_EQ(parseEntryLine("EMBEDDED_LAUNCHER -2147483648 x", base).entry.id, INT32_MIN);
}

TEST(QmpackManifestTest, RefusesBadEntryLines) {
  const char* const bad[] = {
      "8 0 x",          "-1 0 x",         "BOGUS 0 x",       "jvm 0 x",
      "1 2147483648 x", "1 0x10 x",       "1 0",             "1 0 x extra",
      "1 0 x compressed=1", "1 0 x compressed=-1,2", "1 0 x compressed=1,2,3",
      "1 0 x name=a name=b", "1 0 x compressed=1,2 compressed=1,2", "1 0 \"x",
  };
  for (const char* line : bad) {
    EXPECT_NE(errorOf([&] { parseEntryLine(line, "."); }), "") << line;
  }
  EXPECT_EQ(errorOf([] { parseEntryLine("8 0 x", "."); }), "file type 8 is outside 0 to 7");
}

TEST(QmpackManifestTest, QuotedWordsReadBackUnchanged) {
  const std::vector<std::string> words = {"plain", "with space", "", "quote\"inside", "tab\there",
                                          "\"\""};
  std::string line;
  for (const std::string& word : words) line += quoteWord(word) + " ";
  EXPECT_EQ(splitWords(line), words);
}

class QmpackTest : public LauncherStateTest {
protected:
  std::string put(const std::string& name, const std::string& bytes) {
    fs::create_directories(fs::path(dir_.file(name)).parent_path());
    writeWholeFile(dir_.file(name), bytes);
    return dir_.file(name);
  }
  std::set<std::string> filesInDir() const {
    std::set<std::string> names;
    for (const auto& item : fs::recursive_directory_iterator(dir_.path()))
      names.insert(fs::relative(item.path(), dir_.path()).generic_string());
    return names;
  }
  // A manifest in a subdirectory, so that relative paths must resolve
  // against it rather than the current directory.
  std::string putManifest(const std::string& entries, const std::string& extra = "") {
    put("proj/stub.exe", "MZ the stub");
    put("proj/instructions.txt", "INSTRUCTIONS:\n  FIND_JVM\n/:\n");
    put("proj/lib/app.jar", std::string("PK\0\x01\x02 app", 10));
    return put("proj/build.tag", "STUB: stub.exe\nOUTPUT: out.exe\n" + extra + "ENTRIES:\n" +
                                     entries + "/:\n");
  }
  std::string packError(const std::string& manifest) {
    return errorOf([&] { writeLauncher(readManifest(manifest)); });
  }

  ScopedTempDir dir_;
};

TEST_F(QmpackTest, ReadsTheManifestRelativeToItsDirectory) {
  const PackPlan plan = readManifest(putManifest("  0 0 instructions.txt\n"));
  EXPECT_EQ(plan.stub, fs::path(dir_.file("proj")) / "stub.exe");
  EXPECT_EQ(plan.output, fs::path(dir_.file("proj")) / "out.exe");
  EXPECT_EQ(plan.kind, 0);
  ASSERT_EQ(plan.entries.size(), 1u);
  EXPECT_EQ(plan.entries[0].path, fs::path(dir_.file("proj")) / "instructions.txt");

  EXPECT_EQ(readManifest(putManifest("  0 0 i\n", "KIND: 255\n")).kind, 255);
  const std::string refused[] = {"KIND: 256\n", "KIND: two\n", "KIND: -1\n", "ENTRY: 0 0 i\n",
                                 "STUB:\n  a\n  b\n/:\n"};
  for (const std::string& extra : refused)
    EXPECT_NE(errorOf([&] { readManifest(putManifest("", extra)); }), "") << extra;
  const std::string noStub = put("nostub.tag", "OUTPUT: x\n");
  EXPECT_EQ(errorOf([&] { readManifest(noStub); }), noStub + ": STUB is missing");
  EXPECT_EQ(errorOf([&] { readManifest(putManifest("  1 0 x y\n")); }).rfind(dir_.file("proj"), 0),
            0u);
}

TEST_F(QmpackTest, WritesALauncherTheLoaderReadsBack) {
  const std::string manifest = putManifest(
      "  INSTRUCTIONS 0 instructions.txt\n"
      "  APPLICATION_ARCHIVE 4 lib/app.jar name=\"My App.jar\" compressed=3,5000\n",
      "KIND: 2\n");
  const int64_t size = writeLauncher(readManifest(manifest));
  const std::string output = dir_.file("proj/out.exe");
  const std::string bytes = readWholeFile(output);
  EXPECT_EQ(static_cast<int64_t>(bytes.size()), size);
  EXPECT_EQ(bytes.substr(0, 11), "MZ the stub");

  const std::vector<std::string> listing = listLauncher(output);
  EXPECT_EQ(listing, (std::vector<std::string>{
                         "type=0 (INSTRUCTIONS) id=0 length=28 offset=11 name=instructions.txt",
                         "type=6 (APPLICATION_ARCHIVE) id=4 length=10 offset=39 "
                         "name=\"My App.jar\" compressed=3,5000"}));
  EXPECT_EQ(bytes.substr(39, 10), readWholeFile(dir_.file("proj/lib/app.jar")));
  EXPECT_EQ(readLauncherKind(output), 2);
  // The launcher runs as the stub does.
  EXPECT_EQ(fs::status(output).permissions(),
            fs::status(dir_.file("proj/stub.exe")).permissions() | fs::perms::owner_write);

  // A second build replaces the first in place, longer file or not.
  writeWholeFile(output, bytes + std::string(100, 'x'));
  writeLauncher(readManifest(manifest));
  EXPECT_EQ(readWholeFile(output), bytes);
}

TEST_F(QmpackTest, ALauncherThatCouldNeverRunIsRefusedWithTheFileAndLine) {
  put("proj/launch.txt", "DESC: app\nCOMMAND: java %CP%() %NOSUCH%() Main\n");
  put("proj/a.jvm", "JVM_EXE: bin/java\nJVM_PROPERTIES: java.version=17+\n");
  put("proj/Verify.jar", "PK");
  const std::string good = "  INSTRUCTIONS 0 script.txt\n  LAUNCHSCRIPT 2 launch.txt\n"
                           "  JVM 3 a.jvm\n  VERIFIER_ARCHIVE 5 Verify.jar\n";
  const auto refusals = [&](const std::string& script, const std::string& entries) {
    put("proj/script.txt", "INSTRUCTIONS:\n" + script + "/:\n");
    return checkPlan(readManifest(putManifest(entries))).refusals;
  };
  // As the plan names them: the manifest's directory joined by the system's rule.
  const auto planned = [&](const char* name) { return (fs::path(dir_.file("proj")) / name).string(); };
  const std::string at = planned("script.txt") + ", line ";
  EXPECT_EQ(refusals("  FIND_JVM 1 1\n  JMP0 @N1@ NONE\n  ILAUNCH 3 0\n  :NONE\n", good),
            std::vector<std::string>{planned("launch.txt") +
                                     ", line 2: COMMAND calls %NOSUCH%, which is no launch script function"});
  put("proj/launch.txt", "DESC: app\nCOMMAND: java %CP%() Main\n");
  EXPECT_EQ(refusals("  FIND_JVM 1 1\n  GOTO MISSING\n", good),
            std::vector<std::string>{at + "3: Label not found (MISSING)"});
  EXPECT_EQ(refusals("  ILAUNCH 4 0\n  VERIFY 1 0 2\n  EXECUTE_LAUNCHER 1\n", good),
            (std::vector<std::string>{
                at + "2: ILAUNCH names the entry with id 4, which the manifest lacks",
                at + "3: VERIFY names the entry with id 2, which is no JVM entry",
                at + "4: EXECUTE_LAUNCHER 1 names no EMBEDDED_LAUNCHER entry (it counts entries from 0 in manifest order)"}));
  EXPECT_EQ(refusals("  FIND_JVM 1 1\n  LAUNCH @S2@ 0\n", "  INSTRUCTIONS 0 script.txt\n").size(), 3u);
  // Numbers made of variables are the script's own business, and a loop is
  // read through once, not run.
  EXPECT_TRUE(refusals("  SET N2 = 9\n  ILAUNCH @N2@ 0\n", good).empty());
  EXPECT_TRUE(refusals("  :TOP\n  GOTO TOP\n", good).empty());
}

TEST(QmpackDirectTest, OptionsThatCouldNotMakeAWorkingLauncherAreRefused) {
  const auto refusal = [](std::vector<std::string> arguments) {
    return errorOf([&] { parseDirectArguments(arguments); });
  };
  EXPECT_EQ(refusal({"--jar", "a.jar"}), "-o OUTPUT is missing");
  EXPECT_EQ(refusal({"--jar", "a.jar", "-o"}), "-o needs a value");
  EXPECT_EQ(refusal({"--jar", "a.jar", "--java", "17-", "-o", "x"}),
            "--java is a version (21), a version and up (17+) or a range (11..21), not 17-");
  EXPECT_EQ(refusal({"--jar", "a.jar", "--target", "macos", "-o", "x"}),
            "--target is linux or windows, not macos");
  // The launch script would read these as its own markers.
  EXPECT_NE(refusal({"--jar", "a.jar", "--jvm-option", "-Dx=%TEMP%", "-o", "x"}), "");
  EXPECT_EQ(refusal({"--jar", "a.jar", "--java", "11..21", "--jvm-option", "-Xmx1g", "-o", "x"}), "");
}

TEST_F(QmpackTest, RefusalsWriteNothing) {
  const std::string bigName(kMaxEntryNameLength + 1, 'n');
  const std::string cases[] = {
      "  0 0 instructions.txt name=" + bigName + "\n",
      "  0 0 missing.txt\n",
      "  0 0 lib\n",
      "  0 0 instructions.txt name=../escape.txt\n",
      "  0 0 instructions.txt name=sub\\x.txt\n",
      "  0 0 instructions.txt name=\"\"\n",
      "  0 0 instructions.txt name=aux.txt\n",
      "  0 0 instructions.txt name=\"notes. \"\n",
      "  0 0 instructions.txt\n  1 1 out.exe\n",
  };
  for (const std::string& entries : cases) {
    SCOPED_TRACE(entries.substr(0, 60));
    const std::string manifest = putManifest(entries);
    put("proj/out.exe", "older output");
    const std::set<std::string> before = filesInDir();
    EXPECT_NE(packError(manifest), "");
    EXPECT_EQ(filesInDir(), before);
    EXPECT_EQ(readWholeFile(dir_.file("proj/out.exe")), "older output");
  }
}

TEST_F(QmpackTest, RefusesANameWithALineFeedAndLeavesNoOutput) {
  PackPlan plan = readManifest(putManifest("  0 0 instructions.txt\n"));
  plan.entries[0].entry.fileName = "instructions\n.txt";
  const std::set<std::string> before = filesInDir();
  EXPECT_NE(errorOf([&] { writeLauncher(plan); }).find("line feed"), std::string::npos);
  EXPECT_EQ(filesInDir(), before);
  EXPECT_FALSE(fs::exists(plan.output));
}

TEST_F(QmpackTest, RefusesToOverwriteItsOwnInputs) {
  const std::string manifest = putManifest("  0 0 instructions.txt\n");
  PackPlan plan = readManifest(manifest);
  plan.output = fs::path(dir_.file("proj")) / "." / "stub.exe";
  EXPECT_NE(errorOf([&] { writeLauncher(plan); }).find("is the stub"), std::string::npos);
  plan.output = fs::path(dir_.file("proj")) / "lib" / ".." / "instructions.txt";
  EXPECT_NE(errorOf([&] { writeLauncher(plan); }).find("is the source"), std::string::npos);
  EXPECT_EQ(readWholeFile(dir_.file("proj/stub.exe")), "MZ the stub");
  EXPECT_EQ(readWholeFile(dir_.file("proj/instructions.txt")), "INSTRUCTIONS:\n  FIND_JVM\n/:\n");
}

TEST_F(QmpackTest, RefusesAnEntryPastTwoGibibytesWithoutWriting) {
  const std::string manifest = putManifest("  0 0 instructions.txt\n");
  // Sparse: the size is all that is looked at before anything is written.
  fs::resize_file(dir_.file("proj/stub.exe"), INT32_MAX - 10);
  const std::set<std::string> before = filesInDir();
  EXPECT_NE(packError(manifest).find("2 GiB"), std::string::npos);
  EXPECT_EQ(filesInDir(), before);
}

TEST_F(QmpackTest, ListingABrokenLauncherGivesTheLoadersError) {
  // Count 1, type 0, then the trailer's bytes run out inside the offset.
  const std::string broken =
      put("broken.exe", std::string("\0\0\0\x01\0\0\0\0\0\0", 10) + "\xCA\x82\xCA\x82");
  EXPECT_EQ(errorOf([&] { listLauncher(broken); }), "Unable to load offset to file bytes.");
  EXPECT_EQ(errorOf([&] { listLauncher(dir_.file("none.exe")); }), "Cannot open launcher file.");
  EXPECT_TRUE(listLauncher(put("plain.exe", "no archive here")).empty());
}

}  // namespace
