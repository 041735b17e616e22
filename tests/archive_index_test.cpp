#include "archive/index.h"
#include "launcher/launcher_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "archive/index_writer.h"
#include "base/exceptions.h"
#include "base/messages.h"
#include "base/settings.h"
#include "fake_jvm.h"
#include "script/interpreter.h"
#include "tagfile/tag_file.h"
#include "test_support.h"

namespace {

std::string be32(uint32_t value) {
  std::string bytes;
  for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((value >> shift) & 0xFF);
  return bytes;
}

std::string be16(uint16_t value) {
  return std::string{static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

const std::string kIdentification = "\xCA\x82\xCA\x82";

// The first entry of the sample launcher, byte for byte.
const std::string kSampleIndex = be32(1) + std::string(1, '\0') + be32(0) + be32(164) +
                                 be32(270336) + be16(16) + "instructions.txt" +
                                 std::string(1, '\0');

// A launcher whose index follows `body` directly, as the writer lays it out.
std::string launcherAround(const std::string& body, const std::string& index, char kind = 0) {
  return body + index + kind + be32(static_cast<uint32_t>(body.size())) + kIdentification;
}

FileEntry entry(FileType type, int32_t id, const std::string& name) {
  FileEntry made;
  made.type = type;
  made.id = id;
  made.fileName = name;
  return made;
}

// Everything of an entry but where its bytes lie.
std::string identity(const FileEntry& e) {
  std::string text = std::to_string(e.type) + " " + std::to_string(e.id) + " " + e.fileName;
  if (!e.compressed) return text + " plain";
  return text + " compressed " + std::to_string(e.decompressedFileCount) + " " +
         std::to_string(e.decompressedSize);
}

const std::set<std::string> kIndexErrors = {
    "Cannot open launcher file.",
    "Invalid launcher format.",
    "Unable to read file index offset.",
    "Unable to read launcher identification value.",
    "Invalid file index offset.",
    "Unable to read the file count.",
    "Invalid file type in file index.",
    "Unable to load file id.",
    "Unable to load file length.",
    "Unable to load offset to file bytes.",
    "Unable to load the string value.",
    "Unable to load decompressed file count.",
    "Unable to load decompressed size.",
};

class ArchiveIndexTest : public LauncherStateTest {
protected:
  void useLauncher(const std::string& bytes) {
    settings().launcherFile = dir_.file("launcher.exe");
    writeWholeFile(settings().launcherFile, bytes);
  }
  // The load's error text, or empty when it succeeded.
  static std::string loadError(bool loadScripts = false) {
    return thrownMessage([&] { testRun().loadArchive(loadScripts); });
  }
  static const FileIndex& index() { return testRun().archive().fileIndex(); }

  ScopedTempDir dir_;
};

TEST_F(ArchiveIndexTest, SampleFirstEntryReadsAsDocumentedAndIsWhatTheWriterWrites) {
  useLauncher(launcherAround(std::string(300, 'x'), kSampleIndex));
  ASSERT_EQ(loadError(), "");
  EXPECT_TRUE(testRun().archive().indexLoaded());
  ASSERT_EQ(index().count(), 1);
  const FileEntry& first = *index().entryAt(0);
  EXPECT_EQ(identity(first), "0 0 instructions.txt plain");
  EXPECT_EQ(first.length, 164);
  EXPECT_EQ(first.offset, 270336);
  EXPECT_EQ(readLauncherKind(settings().launcherFile), 0);

  std::vector<FileEntry> entries(1);
  entries[0] = entry(INSTRUCTIONS, 0, "instructions.txt");
  entries[0].length = 164;
  entries[0].offset = 270336;
  EXPECT_EQ(serializeIndex(entries), kSampleIndex);
  EXPECT_EQ(serializeTrailer(2, 0x01020304), std::string("\x02\x01\x02\x03\x04", 5) + kIdentification);

  // Loaded once, the index is not read again.
  useLauncher("not a launcher");
  EXPECT_EQ(loadError(), "");
  EXPECT_EQ(index().count(), 1);
}

TEST_F(ArchiveIndexTest, EveryTypeRoundTripsThroughWriterAndReader) {
  std::vector<LauncherPart> parts;
  for (int32_t type = 0; type < 8; ++type) {
    parts.push_back({entry(static_cast<FileType>(type), 100 + type, "entry-" + std::to_string(type)),
                     std::string(static_cast<size_t>(type) * 7 + 1, static_cast<char>('a' + type))});
  }
  parts[6].entry.compressed = true;
  parts[6].entry.decompressedFileCount = 12;
  parts[6].entry.decompressedSize = 482113;
  parts.push_back({entry(JVM_INSTALLER, -5, "\xE9t\xE9 \"1\".exe"), "high bytes in the name"});
  parts.push_back({entry(VERIFIER_ARCHIVE, INT32_MAX, std::string(kMaxEntryNameLength, 'n')), ""});
  std::vector<std::pair<std::string, std::string>> expected;
  for (const LauncherPart& part : parts) expected.emplace_back(identity(part.entry), part.data);
  const std::string bytes = launcherFileBytes(std::move(parts), 7);
  useLauncher(bytes);

  ASSERT_EQ(loadError(), "");
  ASSERT_EQ(index().count(), static_cast<int32_t>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    const FileEntry& read = *index().entryAt(static_cast<int32_t>(i));
    EXPECT_EQ(identity(read), expected[i].first);
    EXPECT_EQ(bytes.substr(static_cast<size_t>(read.offset), static_cast<size_t>(read.length)),
              expected[i].second);
  }
  EXPECT_EQ(readLauncherKind(settings().launcherFile), 7);
}

TEST_F(ArchiveIndexTest, IndexEdgeCases) {
  const std::string record = kSampleIndex.substr(4, kSampleIndex.size() - 5);  // without its flag
  auto load = [&](const std::string& index) {
    newTestRun();
    useLauncher(launcherAround("stub", index));
    return loadError();
  };
  for (char type : {'\x08', '\xFF'})
    EXPECT_EQ(load(be32(1) + type + record.substr(1) + '\0'), "Invalid file type in file index.");
  EXPECT_EQ(load(be32(1) + record.substr(0, 13) + be16(0xFFFF) + "x"), "Unable to load the string value.");

  // A flag of 2 is plain: the next record starts right after it.
  ASSERT_EQ(load(be32(2) + record + '\x02' + record + '\x01' + be32(3) + be32(99)), "");
  ASSERT_EQ(index().count(), 2);
  EXPECT_EQ(identity(*index().entryAt(0)), "0 0 instructions.txt plain");
  EXPECT_EQ(identity(*index().entryAt(1)), "0 0 instructions.txt compressed 3 99");

  for (uint32_t count : {0u, 0xFFFFFFFFu, 0x80000000u}) {
    EXPECT_EQ(load(be32(count) + "garbage that is never read"), "");
    EXPECT_EQ(index().count(), 0);
    EXPECT_TRUE(testRun().archive().indexLoaded());
  }

  std::string unmarked = launcherAround("stub", kSampleIndex);
  unmarked.back() = '\x83';
  newTestRun();
  useLauncher(unmarked);
  settings().logFile = dir_.file("run.log");
  EXPECT_EQ(loadError(), "");
  EXPECT_TRUE(testRun().archive().indexLoaded());
  EXPECT_EQ(index().count(), 0);
  EXPECT_EQ(readLogFile(settings().logFile), "");
}

TEST_F(ArchiveIndexTest, TrailerAndIndexOffsetErrors) {
  EXPECT_EQ(loadError(), "Cannot open launcher file.");  // no launcher file set at all
  useLauncher("");
  EXPECT_EQ(loadError(), "Invalid launcher format.");
  useLauncher("\xCA\x82\xCA\x82\xCA\x82\xCA");
  EXPECT_EQ(loadError(), "Invalid launcher format.");
  useLauncher(std::string("stub") + be32(0xFFFFFFFFu) + kIdentification);
  EXPECT_EQ(loadError(), "Invalid file index offset.");
  // An index offset inside the trailer or past the end: the file was cut.
  for (uint32_t offset : {10u, 4000u}) {
    useLauncher(std::string("stub") + be32(offset) + kIdentification);
    EXPECT_EQ(loadError(), "The launcher file is damaged or incomplete: its index starts at byte " +
                               std::to_string(offset) + ", the file ends at byte 12.");
  }
  EXPECT_FALSE(testRun().archive().indexLoaded());
}

// Each field of a record, cut at every byte, names itself in the error.
TEST_F(ArchiveIndexTest, RecordCutAtEveryByteNamesTheFieldItStopsIn) {
  FileEntry compressed = entry(CLASSPATH_ARCHIVE, 9, "ab.txt");
  compressed.compressed = true;
  compressed.decompressedFileCount = 2;
  compressed.decompressedSize = 300;
  const std::string record = serializeIndexRecord(compressed);
  ASSERT_EQ(record.size(), 30u);
  auto expectedAt = [](size_t cut) -> std::string {
    if (cut == 0) return "Invalid file type in file index.";
    if (cut < 5) return "Unable to load file id.";
    if (cut < 9) return "Unable to load file length.";
    if (cut < 13) return "Unable to load offset to file bytes.";
    if (cut < 21) return "Unable to load the string value.";
    if (cut == 21) return "";  // a missing flag reads as plain
    if (cut < 26) return "Unable to load decompressed file count.";
    if (cut < 30) return "Unable to load decompressed size.";
    return "";
  };
  const std::string path = dir_.file("record.bin");
  for (size_t cut = 0; cut <= record.size(); ++cut) {
    SCOPED_TRACE(cut);
    writeWholeFile(path, record.substr(0, cut));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::string error;
    try {
      const FileEntry read = readIndexRecord(file);
      EXPECT_EQ(read.compressed, cut == record.size());
    } catch (const LauncherException& e) {
      error = e.message();
    }
    std::fclose(file);
    EXPECT_EQ(error, expectedAt(cut));
  }
}

TEST_F(ArchiveIndexTest, LauncherCutAnywhereFailsCleanlyOrIsEmpty) {
  std::vector<LauncherPart> parts;
  parts.push_back({entry(INSTRUCTIONS, 0, "instructions.txt"), "INSTRUCTIONS: x\n"});
  FileEntry packed = entry(APPLICATION_ARCHIVE, 4, "app.jar");
  packed.compressed = true;
  packed.decompressedFileCount = 5;
  packed.decompressedSize = 1000;
  parts.push_back({std::move(packed), "jar bytes"});
  const std::string whole = launcherFileBytes(std::move(parts), 0, "stub");
  const size_t indexStart = whole.size() - 9 -
                            (4 + (16 + 16) + (16 + 7 + 8));  // count + two records
  ASSERT_EQ(whole.substr(indexStart, 4), be32(2));
  const std::string trailer = whole.substr(whole.size() - 9);

  // The index cut short, with the kind byte and trailer still behind it.
  for (size_t cut = 0; cut <= whole.size() - 9 - indexStart; ++cut) {
    SCOPED_TRACE("index cut at " + std::to_string(cut));
    newTestRun();
    useLauncher(whole.substr(0, indexStart + cut) + trailer);
    const std::string error = loadError();
    if (!error.empty()) {
      EXPECT_EQ(kIndexErrors.count(error), 1u) << error;
    }
    EXPECT_LE(index().count(), 2);
  }
  // The whole file cut short: the trailer is gone or broken.
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    SCOPED_TRACE("file cut at " + std::to_string(cut));
    newTestRun();
    useLauncher(whole.substr(0, cut));
    EXPECT_EQ(loadError(), cut < 8 ? "Invalid launcher format." : "");
    EXPECT_EQ(index().count(), 0);
  }
}

TEST_F(ArchiveIndexTest, EntriesAreListedInTheLog) {
  settings().logFile = dir_.file("run.log");
  useLauncher(launcherAround("stub", be32(2) + kSampleIndex.substr(4) + '\x06' + be32(4) +
                                         be32(10) + be32(20) + be16(7) + "app.jar" + '\x01' +
                                         be32(1) + be32(2)));
  ASSERT_EQ(loadError(), "");
  EXPECT_EQ(readLogFile(settings().logFile),
            "------------------\n"
            "file type: 0\n  file id: 0\n  length: 164\n  offset: 270336\n"
            "  file name: instructions.txt\n"
            "file type: 6\n  file id: 4\n  length: 10\n  offset: 20\n  file name: app.jar\n");
}

TEST_F(ArchiveIndexTest, FailedLoadKeepsEarlierEntriesListsNothingAndStaysFailed) {
  settings().logFile = dir_.file("run.log");
  useLauncher(launcherAround("stub", be32(2) + kSampleIndex.substr(4) + '\x09'));
  EXPECT_EQ(loadError(), "Invalid file type in file index.");
  EXPECT_EQ(index().count(), 1);
  EXPECT_FALSE(testRun().archive().indexLoaded());
  EXPECT_EQ(readLogFile(settings().logFile), "");
  // Reading again would append the same entries a second time.
  useLauncher(launcherAround("stub", kSampleIndex));
  EXPECT_EQ(loadError(), "Invalid file type in file index.");
  EXPECT_EQ(index().count(), 1);
}

TEST_F(ArchiveIndexTest, FindEntryByIdAndEntryAt) {
  std::vector<LauncherPart> parts;
  parts.push_back({entry(JVM, 7, "first.jvm"), "a"});
  parts.push_back({entry(JVM, 3, "other.jvm"), "b"});
  parts.push_back({entry(JVM, 7, "second.jvm"), "c"});
  useLauncher(launcherFileBytes(std::move(parts)));
  ASSERT_EQ(loadError(), "");
  ASSERT_NE(index().findEntryById(7), nullptr);
  EXPECT_EQ(index().findEntryById(7)->name(), "first.jvm");
  EXPECT_EQ(index().findEntryById(3)->name(), "other.jvm");
  EXPECT_EQ(index().findEntryById(4), nullptr);
  EXPECT_EQ(index().entryAt(-1), nullptr);
  EXPECT_EQ(index().entryAt(index().count()), nullptr);
  EXPECT_EQ(index().entryAt(2)->name(), "second.jvm");
}

TEST_F(ArchiveIndexTest, ReadLauncherKind) {
  const std::string other = dir_.file("other.exe");
  writeWholeFile(other, launcherFileBytes({}, 255));
  EXPECT_EQ(readLauncherKind(other), 255);
  writeWholeFile(other, "12345678");
  EXPECT_EQ(readLauncherKind(other), -1);
  EXPECT_EQ(readLauncherKind(dir_.file("missing.exe")), -1);
}

// Scripts ----------------------------------------------------------------

const char kArchiveInstructions[] = "INSTRUCTIONS:\n  :fromArchive\n/:\n";
const char kArchiveLaunch[] = "DESC: Archive Title\nMAIN: a.Main\n";

class ArchiveScriptsTest : public ArchiveIndexTest {
protected:
  // Instructions, launch script, two JVM files and an application, packed
  // end to end so that each tag file must stop at its own length.
  void useScriptedLauncher(const std::string& launch = kArchiveLaunch) {
    std::vector<LauncherPart> parts;
    parts.push_back({entry(INSTRUCTIONS, 0, "instructions.txt"), kArchiveInstructions});
    parts.push_back({entry(LAUNCHSCRIPT, 2, "launch.txt"), launch});
    parts.push_back({entry(JVM, 3, "a.jvm"), "DESC: archive jvm a\n"});
    parts.push_back({entry(JVM, 5, "b.jvm"), "DESC: archive jvm b\n"});
    parts.push_back({entry(APPLICATION_ARCHIVE, 4, "app.jar"), "PK not a tag file"});
    useLauncher(launcherFileBytes(std::move(parts)));
  }
  std::string put(const std::string& name, const std::string& text) {
    writeWholeFile(dir_.file(name), text);
    return dir_.file(name);
  }
  static bool hasLabel(const std::string& label) {
    try {
      testRun().instructionScript()->findLabel(label);
      return true;
    } catch (...) {
      return false;
    }
  }
  static std::vector<std::string> jvmDescriptions() {
    std::vector<std::string> descriptions;
    for (const TagFile* jvm : testRun().jvmFiles()) descriptions.push_back(jvm->value("DESC"));
    return descriptions;
  }
  static std::string inputError(const TagFile& input) {
    return thrownMessage([&] { testRun().loadInputFile(input); });
  }
};

TEST_F(ArchiveScriptsTest, LoadIndexLoadsTheEmbeddedScripts) {
  useScriptedLauncher();
  ASSERT_EQ(loadError(true), "");
  ASSERT_NE(testRun().instructionScript(), nullptr);
  EXPECT_TRUE(hasLabel("fromArchive"));
  ASSERT_NE(testRun().launchScript(), nullptr);
  EXPECT_EQ(testRun().launchScript(), index().entryAt(1)->tagFile.get());
  EXPECT_EQ(theApp()->getTitle(), "Archive Title");
  EXPECT_EQ(jvmDescriptions(), (std::vector<std::string>{"archive jvm a", "archive jvm b"}));
  // Each tag file holds its own bytes only, not the next entry's.
  EXPECT_EQ(index().entryAt(0)->tagFile->tags().size(), 1u);
  EXPECT_EQ(index().entryAt(1)->tagFile->value("DESC"), "Archive Title");
  EXPECT_EQ(index().entryAt(4)->tagFile, nullptr);
}

// An index whose entries do not fit the file it ends (damaged on the way)
// is refused before any script is read from it.
TEST_F(ArchiveScriptsTest, EntriesOutsideTheirPlaceAreADamagedFile) {
  const auto record = [](char type, uint32_t length, uint32_t offset, const std::string& name) {
    return std::string(1, type) + be32(0) + be32(length) + be32(offset) +
           be16(static_cast<uint16_t>(name.size())) + name + '\0';
  };
  const std::string body = "stubINSTRUCTIONS: x\n";  // the script at bytes 4 to 20
  useLauncher(launcherAround(body, be32(2) + record('\0', 16, 4, "instructions.txt") +
                                       record('\1', 10, 10, "a.jvm")));
  EXPECT_EQ(loadError(true),
            "The launcher file is damaged or incomplete: a.jvm starts at byte 10, inside "
            "instructions.txt.");
  newTestRun();
  useLauncher(launcherAround(body, be32(1) + record('\0', 100, 4, "instructions.txt")));
  EXPECT_EQ(loadError(true),
            "The launcher file is damaged or incomplete: instructions.txt ends at byte 104, past "
            "the index at byte 20.");
  EXPECT_EQ(testRun().instructionScript(), nullptr);
}

TEST_F(ArchiveScriptsTest, LoadIndexWithoutScriptsParsesNothing) {
  useScriptedLauncher();
  ASSERT_EQ(loadError(false), "");
  EXPECT_EQ(testRun().instructionScript(), nullptr);
  EXPECT_EQ(testRun().launchScript(), nullptr);
  EXPECT_TRUE(testRun().jvmFiles().empty());
  EXPECT_EQ(index().entryAt(0)->tagFile, nullptr);
  EXPECT_EQ(theApp()->getTitle(), "");
}

TEST_F(ArchiveScriptsTest, EmbeddedSyntaxErrorIsReportedWithoutPrefix) {
  useScriptedLauncher("DESC: fine\nno colon here\n");
  EXPECT_EQ(loadError(true),
            "Syntax error in launch.txt at line 2 ==> Missing colon at the end of the tag name.");
  EXPECT_FALSE(testRun().archive().indexLoaded());
  EXPECT_EQ(index().count(), 5);
  // Nothing is built from a launcher file that did not parse, and a second
  // load fails the same way instead of reading the entries twice.
  EXPECT_EQ(testRun().instructionScript(), nullptr);
  EXPECT_EQ(loadError(true), "Syntax error in launch.txt at line 2 ==> Missing colon at the end of the tag name.");
  EXPECT_EQ(index().count(), 5);
}

TEST_F(ArchiveScriptsTest, InputFileScriptsTakePrecedence) {
  useScriptedLauncher();
  TagFile input;
  input.setValue("INSTRUCTIONS", put("in-instructions.txt", "INSTRUCTIONS:\n  :fromInput\n/:\n"));
  input.setValue("LAUNCHSCRIPT", put("in-launch.txt", "DESC: Input Title\n"));
  input.setValue("JVM", put("in.jvm", "DESC: input jvm\n"));
  ASSERT_EQ(inputError(input), "");
  EXPECT_EQ(theApp()->getTitle(), "Input Title");
  ASSERT_EQ(loadError(true), "");

  EXPECT_TRUE(hasLabel("fromInput"));
  EXPECT_FALSE(hasLabel("fromArchive"));
  EXPECT_EQ(testRun().launchScript()->value("DESC"), "Input Title");
  EXPECT_EQ(theApp()->getTitle(), "Input Title");
  EXPECT_EQ(jvmDescriptions(), std::vector<std::string>{"input jvm"});
  // The archive's own scripts are still parsed.
  EXPECT_NE(index().entryAt(0)->tagFile, nullptr);
  EXPECT_NE(index().entryAt(2)->tagFile, nullptr);
}

TEST_F(ArchiveScriptsTest, EmptyJvmValueStillSuppressesTheArchivesJvmFiles) {
  useScriptedLauncher();
  TagFile input;
  input.setValue("JVM", "");
  ASSERT_EQ(inputError(input), "");
  ASSERT_EQ(loadError(true), "");
  EXPECT_TRUE(testRun().jvmFiles().empty());
  EXPECT_TRUE(hasLabel("fromArchive"));

  newTestRun();
  TagFile mixed;
  mixed.addValue("JVM", "");
  mixed.addValue("JVM", put("b.jvm", "DESC: second given\n"));
  ASSERT_EQ(inputError(mixed), "");
  ASSERT_EQ(loadError(true), "");
  EXPECT_EQ(jvmDescriptions(), std::vector<std::string>{"second given"});
}

TEST_F(ArchiveScriptsTest, UiTitleLosesToTheArchiveLaunchScriptUnlessOneIsNamed) {
  useScriptedLauncher();
  TagFile titleOnly;
  titleOnly.setValue("UI_TITLE", "Input UI");
  ASSERT_EQ(inputError(titleOnly), "");
  EXPECT_EQ(theApp()->getTitle(), "Input UI");
  ASSERT_EQ(loadError(true), "");
  EXPECT_EQ(theApp()->getTitle(), "Archive Title");

  newTestRun();
  TagFile both;
  both.setValue("UI_TITLE", "Input UI");
  both.setValue("LAUNCHSCRIPT", put("in-launch.txt", "DESC: Input Title\n"));
  ASSERT_EQ(inputError(both), "");
  ASSERT_EQ(loadError(true), "");
  EXPECT_EQ(theApp()->getTitle(), "Input UI");
}

TEST_F(ArchiveScriptsTest, VerifierNeedsBothValues) {
  TagFile half;
  half.setValue("VERIFY_CLASSPATH", "verify.jar");
  ASSERT_EQ(inputError(half), "");
  EXPECT_FALSE(testRun().jvmSearch().verifier().isSet());
  TagFile whole;
  whole.setValue("VERIFY_CLASSPATH", "verify.jar");
  whole.setValue("VERIFY_CLASS_NAME", "Verify");
  ASSERT_EQ(inputError(whole), "");
  EXPECT_EQ(testRun().jvmSearch().verifier().classPath(), "verify.jar");
  EXPECT_EQ(testRun().jvmSearch().verifier().className(), "Verify");
}

TEST_F(ArchiveScriptsTest, InputFilesThatWillNotLoadNameWhatFailedInTheUsersLanguage) {
  // POSIX picks the table from the locale variables; Windows from the user
  // interface language, which stays English under the test.
  ScopedVariable language("LC_ALL", "de_DE.UTF-8");
  const std::string missing = dir_.file("missing.txt");
  const std::pair<const char*, int> cases[] = {
      {"INSTRUCTIONS", kMsgErrorLoadingInstructions},
      {"LAUNCHSCRIPT", kMsgErrorLoadingLaunchScript},
      {"JVM", kMsgErrorLoadingJvmFile},
  };
  for (const auto& [tag, code] : cases) {
    newTestRun();
    TagFile input;
    input.setValue(tag, missing);
    const std::string error = inputError(input);
    EXPECT_EQ(error.substr(0, messageText(code).size()), messageText(code));
    if (!windowsPaths()) {
      EXPECT_EQ(error.rfind("Fehler beim Laden", 0), 0u) << error;
    }
  }
}

}  // namespace
