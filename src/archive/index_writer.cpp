// Writing the archive's index and trailer. Only portable code.

#include "archive/index_writer.h"

#include <utility>

#include "base/exceptions.h"

namespace {

void appendBigEndian32(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out += static_cast<char>((value >> shift) & 0xFFu);
}

void appendBigEndian16(std::string& out, uint16_t value) {
  out += static_cast<char>((value >> 8) & 0xFFu);
  out += static_cast<char>(value & 0xFFu);
}

std::string describe(size_t position, const FileEntry& entry) {
  return "Entry " + std::to_string(position + 1) + " (" +
         (entry.fileName.size() > 80 ? entry.fileName.substr(0, 80) + "..." : entry.fileName) +
         "): ";
}

}  // namespace

std::string entryRecordProblem(const FileEntry& entry) {
  if (entry.type < INSTRUCTIONS || entry.type > EMBEDDED_LAUNCHER)
    return "file type " + std::to_string(entry.type) + " is outside 0 to 7";
  if (entry.fileName.size() > kMaxEntryNameLength)
    return "the name is " + std::to_string(entry.fileName.size()) + " bytes long; at most " +
           std::to_string(kMaxEntryNameLength) + " fit in the index";
  // The reader ends a name at its first line feed and takes the next byte
  // for the compressed flag, so everything after it would be misread.
  if (entry.fileName.find('\n') != std::string::npos) return "the name contains a line feed";
  if (entry.offset < 0 || entry.length < 0 ||
      static_cast<int64_t>(entry.offset) + entry.length > kMaxLauncherSize)
    return "its bytes (offset " + std::to_string(entry.offset) + ", length " +
           std::to_string(entry.length) + ") do not lie within the first 2 GiB";
  if (!entry.compressed && (entry.decompressedFileCount != 0 || entry.decompressedSize != 0))
    return "a plain entry cannot carry decompressed counts";
  return std::string();
}

std::string serializeIndexRecord(const FileEntry& entry) {
  const std::string problem = entryRecordProblem(entry);
  if (!problem.empty()) throw LauncherException(problem);
  std::string record;
  record += static_cast<char>(entry.type);
  appendBigEndian32(record, static_cast<uint32_t>(entry.id));
  appendBigEndian32(record, static_cast<uint32_t>(entry.length));
  appendBigEndian32(record, static_cast<uint32_t>(entry.offset));
  appendBigEndian16(record, static_cast<uint16_t>(entry.fileName.size()));
  record += entry.fileName;
  record += static_cast<char>(entry.compressed ? 1 : 0);
  if (entry.compressed) {
    appendBigEndian32(record, static_cast<uint32_t>(entry.decompressedFileCount));
    appendBigEndian32(record, static_cast<uint32_t>(entry.decompressedSize));
  }
  return record;
}

std::string serializeIndex(const std::vector<FileEntry>& entries) {
  if (entries.size() > static_cast<size_t>(INT32_MAX))
    throw LauncherException("Too many entries for the index.");
  std::string index;
  appendBigEndian32(index, static_cast<uint32_t>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    try {
      index += serializeIndexRecord(entries[i]);
    } catch (const LauncherException& e) {
      throw LauncherException(describe(i, entries[i]) + e.message());
    }
  }
  return index;
}

std::string serializeTrailer(uint8_t kind, int32_t indexOffset) {
  std::string trailer(1, static_cast<char>(kind));
  appendBigEndian32(trailer, static_cast<uint32_t>(indexOffset));
  appendBigEndian32(trailer, kArchiveIdentification);
  return trailer;
}

ArchiveLayout layOutArchive(int64_t stubSize, std::vector<FileEntry> entries,
                            const std::vector<int64_t>& dataSizes, uint8_t kind) {
  if (dataSizes.size() != entries.size())
    throw LauncherException("Each entry needs exactly one data size.");
  if (stubSize < 0 || stubSize > kMaxLauncherSize)
    throw LauncherException("The stub is larger than 2 GiB.");
  int64_t position = stubSize;
  for (size_t i = 0; i < entries.size(); ++i) {
    const int64_t size = dataSizes[i];
    // Checked one by one so that no sum of sizes can overflow.
    if (size < 0 || size > kMaxLauncherSize - position)
      throw LauncherException(describe(i, entries[i]) +
                              "its bytes would reach past 2 GiB into the launcher.");
    entries[i].offset = static_cast<int32_t>(position);
    entries[i].length = static_cast<int32_t>(size);
    position += size;
  }
  ArchiveLayout layout;
  layout.indexOffset = static_cast<int32_t>(position);
  layout.tail = serializeIndex(entries) + serializeTrailer(kind, layout.indexOffset);
  if (static_cast<int64_t>(layout.tail.size()) > kMaxLauncherSize - position)
    throw LauncherException("The launcher would be larger than 2 GiB.");
  layout.entries = std::move(entries);
  return layout;
}
