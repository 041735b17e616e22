#pragma once
// The archive appended to the launcher file: the trailer at the very end, the
// file index it points to, and the scripts parsed from the indexed entries.
// A reader only: what the scripts build is the front end's.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class TagFile;

enum FileType : int32_t {
  INSTRUCTIONS = 0,
  JVM = 1,
  LAUNCHSCRIPT = 2,
  CLASSPATH_ARCHIVE = 3,
  JVM_INSTALLER = 4,
  VERIFIER_ARCHIVE = 5,
  APPLICATION_ARCHIVE = 6,
  EMBEDDED_LAUNCHER = 7,
};

// The identification value that ends every launcher file with an archive.
constexpr uint32_t kArchiveIdentification = 0xCA82CA82u;

struct FileEntry {
  FileEntry();
  ~FileEntry();
  FileEntry(FileEntry&&) noexcept;
  FileEntry& operator=(FileEntry&&) noexcept;

  std::string name() const { return fileName; }

  FileType type = INSTRUCTIONS;
  std::unique_ptr<TagFile> tagFile;  // types 0 to 2, once the scripts are loaded
  int32_t id = -1;
  int32_t length = 0;
  int32_t offset = 0;
  std::string fileName;
  bool compressed = false;
  int32_t decompressedFileCount = 0;
  int32_t decompressedSize = 0;
};

class FileIndex {
public:
  int32_t count() const { return static_cast<int32_t>(entries_.size()); }
  // The entry at a position counted from 0, or null outside the index.
  const FileEntry* entryAt(int32_t position) const;
  // The first entry in index order with that id, or null.
  const FileEntry* findEntryById(int32_t id) const;
  void append(FileEntry entry) { entries_.push_back(std::move(entry)); }
  std::vector<FileEntry>& entries() { return entries_; }
  const std::vector<FileEntry>& entries() const { return entries_; }

private:
  std::vector<FileEntry> entries_;
};

// The report of a launcher file cut short or changed on the way, followed by
// what does not fit.
std::string damagedLauncherFileText(const std::string& what);

// Reads one entry record at the file's position. Throws LauncherException
// with the text of the field that could not be read.
FileEntry readIndexRecord(std::FILE* file);

class LauncherArchive {
public:
  // Reads the trailer and the index of the launcher file, lists the entries
  // in the log and, when asked, parses the embedded scripts (the tag files
  // of the instruction, JVM and launch script entries). Does nothing once
  // loaded. Throws LauncherException.
  void loadIndex(bool withScripts);

  bool indexLoaded() const { return indexLoaded_; }
  // Whether the launcher file ends with an archive at all (a bare stub, or
  // a file whose end was cut off, does not), and its size.
  bool archiveFound() const { return archiveFound_; }
  int64_t fileSize() const { return fileSize_; }
  // The kind byte read with the trailer, as readLauncherKind gives it.
  int32_t launcherKind() const { return launcherKind_; }
  const FileIndex& fileIndex() const { return index_; }

private:
  void parseScripts(std::FILE* file);

  FileIndex index_;
  bool indexLoaded_ = false;
  bool archiveFound_ = false;
  int64_t fileSize_ = 0;
  int32_t launcherKind_ = -1;
  std::string loadFailure_;
};

// The launcher kind byte, 9 bytes before the end of the file: 0 to 255, or -1
// when it cannot be read.
int32_t readLauncherKind(const std::string& path);
