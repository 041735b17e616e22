#pragma once
// The writing side of the launcher file's archive: entry records, the index
// and the trailer, byte for byte as readIndexRecord and LauncherArchive read
// them back. No file access here; the build tool puts the bytes on disk.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/index.h"

// The reader keeps offsets and lengths in signed 32-bit fields, and a
// launcher whose end lies further out cannot be sought from its end by a
// 32-bit C library either, so nothing may reach past this size.
constexpr int64_t kMaxLauncherSize = INT32_MAX;
// The reader's name length field is a signed 16-bit count.
constexpr size_t kMaxEntryNameLength = 32767;

// Empty when readIndexRecord reads the entry's record back unchanged;
// otherwise the reason it would not.
std::string entryRecordProblem(const FileEntry& entry);

// One entry record. Throws LauncherException with entryRecordProblem.
std::string serializeIndexRecord(const FileEntry& entry);
// The file count followed by every entry's record, in order. Throws
// LauncherException naming the first entry that cannot be read back.
std::string serializeIndex(const std::vector<FileEntry>& entries);
// The launcher kind byte, the index offset and the identification value.
std::string serializeTrailer(uint8_t kind, int32_t indexOffset);

// Everything a launcher file holds besides the stub and the entries' bytes.
struct ArchiveLayout {
  std::vector<FileEntry> entries;  // offsets and lengths filled in
  int32_t indexOffset = 0;
  std::string tail;  // index, kind byte and trailer: the file's last bytes
};

// Places the entries' bytes end to end after a stub of stubSize bytes, in
// the order given (dataSizes[i] belongs to entries[i]), and builds the index
// and trailer that describe them. Throws LauncherException when anything
// would lie past kMaxLauncherSize or an entry cannot be read back.
ArchiveLayout layOutArchive(int64_t stubSize, std::vector<FileEntry> entries,
                            const std::vector<int64_t>& dataSizes, uint8_t kind);
