// Copying archive entries out of the launcher file. Only portable code.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "archive/extract.h"

#include "archive/entry_name.h"
#include "archive/free_space.h"
#include "archive/index.h"
#include "base/exceptions.h"
#include "base/file_copy.h"
#include "base/messages.h"
#include "base/settings.h"
#include "base/text.h"
#include "base/ui.h"
#include "os/fault_injection.h"
#include "os/file_system.h"
#include "tagfile/tag_file.h"

namespace {

// Not 64 KiB: the copy has always gone in steps of this size, one progress
// step each.
constexpr size_t kCopyBufferSize = 61439;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

LauncherException writeError(int error) { return LauncherException(writeFailureText(error)); }

// The name comes from the launcher file; one that would place the copy
// outside the directory asked for (a path, a drive, "..") is refused.
void checkPlainName(const std::string& name) {
  if (!entryNameProblem(name).empty())
    throw LauncherException("Invalid file name in file index: " + name);
}

}  // namespace

std::string extractTo(const FileEntry& entry, const std::string& directory) {
  checkPlainName(entry.fileName);
  int64_t bytes = entry.length;
  int64_t files = 1;
  if (entry.compressed) {
    bytes += entry.decompressedSize;
    files = static_cast<int64_t>(entry.decompressedFileCount) + 1;
  }
  if (!hasFreeSpace(directory, bytes, files))
    throw LauncherException(loadMessageText(kTextErrorWritingFile) + loadMessageText(kTextNotEnoughSpace));

  const std::string target = ensureTrailingSeparator(directory) + entry.fileName;
  // A launcher file that cannot be read, or that ends before the entry does,
  // gives a damaged copy: that is a failure like a short write, not a success.
  errno = 0;
  File source(
      os::openFile(os::FaultPoint::kLauncherOpen, settings().launcherFile.c_str(), "rb"));
  if (!source) throw writeError(errno ? errno : EIO);
  // Each step is one read and one write of the whole buffer: the library's
  // own small buffers split every step into five system calls and halved
  // the throughput. Set before the first seek, which with a buffer already
  // reads ahead what would be thrown away.
  std::setvbuf(source.get(), nullptr, _IONBF, 0);
  if (entry.offset < 0 || std::fseek(source.get(), entry.offset, SEEK_SET) != 0)
    throw writeError(EIO);
  // Only a file this extraction made is removed again after a failure: what
  // was there before (a device such as /dev/full among them) stays.
  os::FileAttributes existing;
  const bool madeHere = !os::getFileAttributes(target, &existing).ok();
  errno = 0;
  File output(std::fopen(target.c_str(), "wb"));
  if (!output) throw writeError(errno ? errno : EIO);
  std::setvbuf(output.get(), nullptr, _IONBF, 0);

  const int64_t end = static_cast<int64_t>(entry.offset) + (entry.length > 0 ? entry.length : 0);
  const CopyOutcome copy = copyFileBytes(source.get(), output.get(), end - entry.offset,
                                         kCopyBufferSize, [] { ui::advanceProgress(1); });
  int error = copy.error;
  // The end of the launcher file before the entry's end is a damaged or
  // incomplete download, not a disk that is full.
  const bool cutShort = copy.cutShort;
  const int64_t position = entry.offset + copy.copied;
  source.reset();
  errno = 0;
  if (std::fclose(output.release()) != 0 && error == 0) error = errno ? errno : EIO;
  if ((error != 0 || cutShort) && madeHere) std::remove(target.c_str());  // no half copy stays
  if (cutShort)
    throw LauncherException(damagedLauncherFileText(entry.fileName + " ends at byte " +
                                                    std::to_string(end) + ", the file at byte " +
                                                    std::to_string(position) + "."));
  if (error != 0) throw writeError(error);
  return target;
}

bool readEntryBytes(const FileEntry& entry, std::string* bytes) {
  if (entry.offset < 0 || entry.length < 0) return false;
  File source(
      os::openFile(os::FaultPoint::kLauncherOpen, settings().launcherFile.c_str(), "rb"));
  if (!source) return false;
  // One read straight into the bytes, without a stream buffer of its own.
  std::setvbuf(source.get(), nullptr, _IONBF, 0);
  if (std::fseek(source.get(), entry.offset, SEEK_SET) != 0) return false;
  bytes->resize(static_cast<size_t>(entry.length));
  return std::fread(&(*bytes)[0], 1, bytes->size(), source.get()) == bytes->size();
}

void extractAll(const FileIndex& index, bool replaceExisting) {
  // Nothing is written when any file would replace one of the user's.
  if (!replaceExisting) {
    std::vector<std::string> names{"input.tag"};
    for (const FileEntry& entry : index.entries()) names.push_back(entry.fileName);
    for (const std::string& name : names) {
      os::FileAttributes attributes;
      if (os::getFileAttributes(name, &attributes).ok())
        throw LauncherException("The file " + name + " is already there; -qm:force replaces it.");
    }
  }
  TagFile input;
  input.setValue("ACTION", "RUN_INSTRUCTIONS");
  for (const FileEntry& entry : index.entries()) {
    if (entry.type == JVM) input.addValue("JVM", entry.fileName);
    if (entry.type == LAUNCHSCRIPT) input.setValue("LAUNCHSCRIPT", entry.fileName);
    if (entry.type == INSTRUCTIONS) input.setValue("INSTRUCTIONS", entry.fileName);
    extractTo(entry, std::string());
  }
  if (const int error = input.write("input.tag")) throw writeError(error);
}
