// Copying bytes between open files, with the error number of what failed.

#include "base/file_copy.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "os/fault_injection.h"

CopyOutcome copyFileBytes(std::FILE* from, std::FILE* to, int64_t length, size_t step,
                          const std::function<void()>& afterStep) {
  CopyOutcome outcome;
  // No larger than the copy: a small entry's buffer is not a page-faulting,
  // zero-filled 60 KB each time.
  std::vector<char> buffer(length >= 0 ? static_cast<size_t>(std::min<int64_t>(length, step)) : step);
  if (buffer.empty()) return outcome;
  while ((length < 0 || outcome.copied < length) && outcome.error == 0) {
    const size_t wanted =
        length < 0 ? step : static_cast<size_t>(std::min<int64_t>(length - outcome.copied, step));
    const size_t taken = std::fread(buffer.data(), 1, wanted, from);
    outcome.copied += static_cast<int64_t>(taken);
    errno = 0;
    if (os::writeFile(buffer.data(), taken, to) != taken)
      outcome.error = errno ? errno : EIO;
    // A full disk may only show when the buffered bytes are written out.
    if (std::fflush(to) != 0 && outcome.error == 0) outcome.error = errno ? errno : EIO;
    if (afterStep) afterStep();
    if (taken < wanted) {
      // A source that could not be read to its end is a failure; its end
      // before the length asked for is the caller's to name.
      if (outcome.error == 0 && std::ferror(from)) outcome.error = EIO;
      else if (outcome.error == 0 && length >= 0) outcome.cutShort = true;
      break;
    }
  }
  return outcome;
}
