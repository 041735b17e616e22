// Reading the launcher file's trailer and index, and parsing the scripts it
// carries. Only portable code.

#include "archive/index.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/exceptions.h"
#include "base/log.h"
#include "base/messages.h"
#include "base/settings.h"
#include "base/text.h"
#include "os/fault_injection.h"
#include "tagfile/tag_file.h"

namespace {

// Closes the launcher file on every way out of loadIndex.
class FileCloser {
public:
  explicit FileCloser(std::FILE* file) : file_(file) {}
  ~FileCloser() { std::fclose(file_); }
  FileCloser(const FileCloser&) = delete;
  FileCloser& operator=(const FileCloser&) = delete;

private:
  std::FILE* file_;
};

int32_t readInt32(std::FILE* file, const char* message) {
  return static_cast<int32_t>(readBigEndian32(file, message));
}

// The kind byte, which stands just before the trailer; -1 for none. Leaves
// the file at the trailer when it read the byte.
int32_t readKindByte(std::FILE* file) {
  if (std::fseek(file, -9, SEEK_END) != 0) return -1;
  const int kind = std::getc(file);
  return kind == EOF ? -1 : kind;
}

std::string entryListing(const FileEntry& entry) {
  return "file type: " + decimal(entry.type) + "\n  file id: " + decimal(entry.id) +
         "\n  length: " + decimal(entry.length) + "\n  offset: " + decimal(entry.offset) +
         "\n  file name: " + entry.fileName;
}

}  // namespace

FileEntry::FileEntry() = default;
FileEntry::~FileEntry() = default;
FileEntry::FileEntry(FileEntry&&) noexcept = default;
FileEntry& FileEntry::operator=(FileEntry&&) noexcept = default;

const FileEntry* FileIndex::entryAt(int32_t position) const {
  if (position < 0 || position >= count()) return nullptr;
  return &entries_[static_cast<size_t>(position)];
}

const FileEntry* FileIndex::findEntryById(int32_t id) const {
  for (const FileEntry& entry : entries_)
    if (entry.id == id) return &entry;
  return nullptr;
}

FileEntry readIndexRecord(std::FILE* file) {
  FileEntry entry;
  const int type = std::getc(file);
  if (type == EOF || type > EMBEDDED_LAUNCHER)
    throw LauncherException("Invalid file type in file index.");
  entry.type = static_cast<FileType>(type);
  entry.id = readInt32(file, "Unable to load file id.");
  entry.length = readInt32(file, "Unable to load file length.");
  entry.offset = readInt32(file, "Unable to load offset to file bytes.");
  const int16_t nameLength =
      static_cast<int16_t>(readBigEndian16(file, "Unable to load the string value."));
  // The writer never stores a negative length or a name that the file does
  // not hold whole; either means the index is damaged.
  if (nameLength < 0) throw LauncherException("Unable to load the string value.");
  for (int16_t i = 0; i < nameLength; ++i) {
    const int c = std::getc(file);
    if (c == EOF) throw LauncherException("Unable to load the string value.");
    if (c == '\n') break;
    entry.fileName += static_cast<char>(c);
  }
  if (std::getc(file) == 1) {
    entry.compressed = true;
    entry.decompressedFileCount = readInt32(file, "Unable to load decompressed file count.");
    entry.decompressedSize = readInt32(file, "Unable to load decompressed size.");
  }
  return entry;
}

namespace {

// Entries that run past the index or into each other: a download cut short
// before a rewritten index, or bytes changed on the way. Their content would
// not be what was packed.
void checkEntriesFit(const std::vector<FileEntry>& entries, int64_t indexOffset) {
  std::vector<const FileEntry*> byOffset;
  for (const FileEntry& entry : entries)
    if (entry.length != 0) byOffset.push_back(&entry);
  std::sort(byOffset.begin(), byOffset.end(),
            [](const FileEntry* a, const FileEntry* b) { return a->offset < b->offset; });
  const FileEntry* previous = nullptr;
  for (const FileEntry* entry : byOffset) {
    const int64_t end = static_cast<int64_t>(entry->offset) + entry->length;
    if (entry->offset < 0 || entry->length < 0 || end > indexOffset)
      throw LauncherException(damagedLauncherFileText(entry->fileName + " ends at byte " +
                              std::to_string(end) + ", past the index at byte " +
                              std::to_string(indexOffset) + "."));
    if (previous && entry->offset < static_cast<int64_t>(previous->offset) + previous->length)
      throw LauncherException(damagedLauncherFileText(entry->fileName + " starts at byte " +
                              std::to_string(entry->offset) + ", inside " +
                              previous->fileName + "."));
    previous = entry;
  }
}

}  // namespace

std::string damagedLauncherFileText(const std::string& what) {
  return "The launcher file is damaged or incomplete: " + what;
}


void LauncherArchive::loadIndex(bool withScripts) {
  if (indexLoaded_) return;
  // Scripts taken from a failed load still use its entries' tag files; a
  // second reading would append the entries again and replace those tag
  // files under the scripts, so the failure stands.
  if (!index_.entries().empty()) throw LauncherException(loadFailure_);
  std::FILE* file =
      os::openFile(os::FaultPoint::kLauncherOpen, settings().launcherFile.c_str(), "rb");
  if (!file) throw LauncherException("Cannot open launcher file.");
  FileCloser closer(file);
  try {
    // Reading the kind byte here saves opening the file a second time for it.
    launcherKind_ = readKindByte(file);
    if (launcherKind_ < 0 && std::fseek(file, -8, SEEK_END) != 0)
      throw LauncherException("Invalid launcher format.");
    const int64_t fileSize = static_cast<int64_t>(std::ftell(file)) + 8;
    const int32_t indexOffset = readInt32(file, "Unable to read file index offset.");
    const uint32_t identification =
        readBigEndian32(file, "Unable to read launcher identification value.");
    archiveFound_ = identification == kArchiveIdentification;
    fileSize_ = fileSize;
    if (archiveFound_) {
      if (indexOffset < 0 || std::fseek(file, indexOffset, SEEK_SET) != 0)
        throw LauncherException("Invalid file index offset.");
      if (indexOffset > fileSize - 8)
        throw LauncherException(damagedLauncherFileText(
            "its index starts at byte " + std::to_string(indexOffset) +
            ", the file ends at byte " + std::to_string(fileSize) + "."));
      const int32_t fileCount = readInt32(file, "Unable to read the file count.");
      for (int32_t i = 0; i < fileCount; ++i) index_.append(readIndexRecord(file));
      if (logging())
        for (const FileEntry& entry : index_.entries()) writeLog(entryListing(entry));
      if (withScripts) {
        checkEntriesFit(index_.entries(), indexOffset);
        parseScripts(file);
      }
    }
  } catch (const LauncherException& e) {
    loadFailure_ = e.message();
    throw;
  } catch (...) {
    // A failure below the launcher's own operations ends the load quietly
    // with what was read so far.
  }
  indexLoaded_ = true;
}

void LauncherArchive::parseScripts(std::FILE* file) {
  for (FileEntry& entry : index_.entries()) {
    if (entry.type != INSTRUCTIONS && entry.type != JVM && entry.type != LAUNCHSCRIPT) continue;
    entry.tagFile.reset(new TagFile);
    entry.tagFile->parse(file, entry.fileName, entry.offset, entry.length);
  }
}

int32_t readLauncherKind(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return -1;
  const int32_t kind = readKindByte(file);
  std::fclose(file);
  return kind;
}
