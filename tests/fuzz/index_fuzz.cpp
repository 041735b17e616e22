// Treats arbitrary bytes as a launcher file: loading its index and scripts
// must end in an index or a LauncherException, never a crash. Every entry
// that loads and that the writer accepts must also survive being written
// and read again.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "archive/index.h"
#include "archive/index_writer.h"
#include "base/exceptions.h"
#include "base/settings.h"
#include "launcher/launcher_run.h"
#include "temp/temp.h"

namespace {

// One scratch file per fuzzing process, removed after every input because
// libFuzzer may end the process without running destructors.
const std::string& scratchPath() {
  static const std::string path =
      "/tmp/qm-index-fuzz-" + std::to_string(static_cast<long>(getpid())) + ".exe";
  return path;
}

void checkRewrite(const FileEntry& entry) {
  if (!entryRecordProblem(entry).empty()) return;
  std::string record = serializeIndexRecord(entry);
  std::FILE* file = fmemopen(&record[0], record.size(), "rb");
  if (!file) std::abort();
  const FileEntry read = readIndexRecord(file);
  std::fclose(file);
  if (read.type != entry.type || read.id != entry.id || read.length != entry.length ||
      read.offset != entry.offset || read.fileName != entry.fileName ||
      read.compressed != entry.compressed ||
      read.decompressedFileCount != entry.decompressedFileCount ||
      read.decompressedSize != entry.decompressedSize)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::FILE* out = std::fopen(scratchPath().c_str(), "wb");
  if (!out) return 0;
  std::fwrite(data, 1, size, out);
  std::fclose(out);

  settings().launcherFile = scratchPath();
  TempArea temp;
  LauncherRun run(temp);
  try {
    run.loadArchive(true);
  } catch (const LauncherException&) {
  }
  for (const FileEntry& entry : run.archive().fileIndex().entries()) checkRewrite(entry);
  readLauncherKind(scratchPath());
  std::remove(scratchPath().c_str());
  return 0;
}
