// Writing and listing launcher files for the qmpack build tool.

#include "qmpack/pack.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>
#include <utility>

#include "archive/entry_name.h"
#include "archive/index_writer.h"
#include "base/exceptions.h"
#include "base/settings.h"

namespace fs = std::filesystem;

namespace {

// Removes the half-written file on every way out but success.
class TemporaryFile {
public:
  explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (path_.empty()) return;
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const fs::path& path() const { return path_; }
  void keep() { path_.clear(); }

private:
  fs::path path_;
};

int64_t regularFileSize(const fs::path& path, const std::string& role) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || !fs::exists(status))
    throw LauncherException("The " + role + " " + path.string() + " does not exist.");
  if (!fs::is_regular_file(status))
    throw LauncherException("The " + role + " " + path.string() + " is not a regular file.");
  const uintmax_t size = fs::file_size(path, error);
  if (error) throw LauncherException("Cannot read the size of " + path.string() + ".");
  // Anything this large cannot fit the launcher anyway; the layout says so.
  return size > static_cast<uintmax_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(size);
}

bool sameFile(const fs::path& a, const fs::path& b) {
  std::error_code error;
  return fs::equivalent(a, b, error) && !error;
}

void refuseOverwriting(const fs::path& output, const fs::path& input, const std::string& role) {
  if (sameFile(output, input))
    throw LauncherException("The output " + output.string() + " is the " + role +
                            " itself; it would be destroyed while being read.");
}

// Copies the whole file and insists on the size the layout was made for: a
// file that changed in between would put every later offset out of place.
void copyInto(std::ofstream& out, const fs::path& path, int64_t expected) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw LauncherException("Cannot open " + path.string() + ".");
  char buffer[64 * 1024];
  int64_t copied = 0;
  while (in) {
    in.read(buffer, sizeof buffer);
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    out.write(buffer, got);
    copied += got;
  }
  if (in.bad()) throw LauncherException("Cannot read " + path.string() + ".");
  if (copied != expected)
    throw LauncherException(path.string() + " changed size while the launcher was being written.");
}

fs::path temporaryNameBeside(const fs::path& output) {
  std::random_device random;
  for (;;) {
    fs::path candidate = output;
    candidate += ".qmpack-" + std::to_string(random()) + ".tmp";
    std::error_code error;
    if (!fs::exists(candidate, error) && !error) return candidate;
  }
}

std::string typeName(FileType type) {
  static const char* const names[] = {
      "INSTRUCTIONS",  "JVM",           "LAUNCHSCRIPT",        "CLASSPATH_ARCHIVE",
      "JVM_INSTALLER", "VERIFIER_ARCHIVE", "APPLICATION_ARCHIVE", "EMBEDDED_LAUNCHER",
  };
  return type >= 0 && type < 8 ? names[type] : "?";
}

}  // namespace

int64_t writeLauncher(const PackPlan& plan) {
  const int64_t stubSize = regularFileSize(plan.stub, "stub");
  std::vector<FileEntry> entries;
  std::vector<int64_t> sizes;
  for (size_t i = 0; i < plan.entries.size(); ++i) {
    const PackSource& source = plan.entries[i];
    const std::string problem = entryNameProblem(source.entry.fileName);
    if (!problem.empty())
      throw LauncherException("Entry " + std::to_string(i + 1) + " (" + source.path.string() +
                              "): " + problem + ".");
    sizes.push_back(regularFileSize(source.path, "source"));
    FileEntry entry;
    entry.type = source.entry.type;
    entry.id = source.entry.id;
    entry.fileName = source.entry.fileName;
    entry.compressed = source.entry.compressed;
    entry.decompressedFileCount = source.entry.decompressedFileCount;
    entry.decompressedSize = source.entry.decompressedSize;
    entries.push_back(std::move(entry));
  }
  std::error_code error;
  if (fs::is_directory(plan.output, error))
    throw LauncherException("The output " + plan.output.string() + " is a directory.");
  refuseOverwriting(plan.output, plan.stub, "stub");
  for (const PackSource& source : plan.entries)
    refuseOverwriting(plan.output, source.path, "source " + source.path.string());

  const ArchiveLayout layout = layOutArchive(stubSize, std::move(entries), sizes, plan.kind);

  // An output directory that is not there yet is made.
  const fs::path directory = plan.output.parent_path();
  if (!directory.empty() && !fs::is_directory(directory, error)) {
    fs::create_directories(directory, error);
    if (error)
      throw LauncherException("Cannot create the directory " + directory.string() + ": " +
                              error.message());
  }
  TemporaryFile temporary(temporaryNameBeside(plan.output));
  {
    errno = 0;
    std::ofstream out(temporary.path(), std::ios::binary | std::ios::trunc);
    if (!out)
      throw LauncherException("Cannot create " + temporary.path().string() + ": " +
                              std::strerror(errno ? errno : EIO));
    copyInto(out, plan.stub, stubSize);
    for (size_t i = 0; i < plan.entries.size(); ++i) copyInto(out, plan.entries[i].path, sizes[i]);
    out.write(layout.tail.data(), static_cast<std::streamsize>(layout.tail.size()));
    out.close();
    if (!out) throw LauncherException("Cannot write " + temporary.path().string() + ".");
  }
  // The launcher is the stub made longer, so it must stay runnable as the
  // stub is; write access is kept so that the next build can replace it.
  const fs::perms perms = fs::status(plan.stub, error).permissions();
  if (!error) fs::permissions(temporary.path(), perms | fs::perms::owner_write, error);
  fs::rename(temporary.path(), plan.output, error);
  if (error)
    throw LauncherException("Cannot rename " + temporary.path().string() + " to " +
                            plan.output.string() + ": " + error.message());
  temporary.keep();
  return layout.indexOffset + static_cast<int64_t>(layout.tail.size());
}

std::vector<std::string> listLauncher(const std::string& path) {
  settings().launcherFile = path;
  LauncherArchive archive;
  archive.loadIndex(false);
  std::vector<std::string> lines;
  for (const FileEntry& entry : archive.fileIndex().entries()) {
    std::string line = "type=" + std::to_string(entry.type) + " (" + typeName(entry.type) +
                       ") id=" + std::to_string(entry.id) +
                       " length=" + std::to_string(entry.length) +
                       " offset=" + std::to_string(entry.offset) +
                       " name=" + quoteWord(entry.fileName);
    if (entry.compressed)
      line += " compressed=" + std::to_string(entry.decompressedFileCount) + "," +
              std::to_string(entry.decompressedSize);
    lines.push_back(line);
  }
  return lines;
}
