// The APPLICATION_ARCHIVE launch-script function.

#include "launch/application_archive.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "archive/extract.h"
#include "archive/index.h"
#include "base/exceptions.h"
#include "base/file_copy.h"
#include "base/messages.h"
#include "base/paths.h"
#include "base/settings.h"
#include "base/text.h"
#include "launch/function_scope.h"
#include "temp/temp.h"

namespace {

constexpr size_t kCopyChunk = 4096;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

LauncherException copyError(int error) { return LauncherException(writeFailureText(error)); }

std::string extractApplicationEntries(LaunchContext& context) {
  std::string path;
  const std::string directory = context.tempArea().createPrivateDir();
  const FileIndex* launcherEntries = context.launcherEntries;
  if (!launcherEntries) return path;
  for (const FileEntry& entry : launcherEntries->entries())
    if (entry.type == APPLICATION_ARCHIVE) path = extractTo(entry, directory);
  return path;
}

std::string copyBesideLauncher(TempArea& temp, const std::string& name) {
  const std::string source = ensureTrailingSeparator(launcherDirectory()) + name;
  const std::string target = ensureTrailingSeparator(temp.createPrivateDir()) + lastPathComponent(name);
  File in(std::fopen(source.c_str(), "rb"));
  if (!in) return std::string();
  File out(std::fopen(target.c_str(), "wb"));
  if (!out) return std::string();
  // A source that could not be read to its end, or a copy that did not
  // reach the disk, would hand the JVM a damaged archive as if all were well.
  const CopyOutcome copy = copyFileBytes(in.get(), out.get(), -1, kCopyChunk);
  if (copy.error != 0) throw copyError(copy.error);
  errno = 0;
  if (std::fclose(out.release()) != 0) throw copyError(errno);
  return target;
}

}  // namespace

std::string applicationArchiveFunction(LaunchFunctionScope& script,
                                       const std::vector<std::string>& arguments) {
  std::string& remembered = script.context().applicationArchive;
  if (remembered.empty())
    remembered = arguments.empty() ? extractApplicationEntries(script.context())
                                   : copyBesideLauncher(script.context().tempArea(), arguments[0]);
  return remembered;
}
