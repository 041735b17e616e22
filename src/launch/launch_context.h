#pragma once
// What the launches of one run share, owned by the front end's run and
// handed to its launch scripts: the launcher file's entries and kind, the
// caller's launch options, and the application archive once it is on disk.

#include <cstdint>
#include <string>

#include "base/exceptions.h"
#include "base/string_list.h"

class FileIndex;
class TempArea;

// The options of the launcher's command line that shape a launch.
struct LaunchOptions {
  std::string classPathPrepend;  // -cp:p
  std::string classPathAppend;   // -cp:a
  bool console = false;          // -qm:javaconsole and -console
  StringList passThroughArguments;
};

struct LaunchContext {
  TempArea* temp = nullptr;                    // where extracted files go
  const FileIndex* launcherEntries = nullptr;  // none: nothing to extract
  int32_t launcherKind = -1;                   // the kind byte of the launcher file
  LaunchOptions options;
  // The application archive, extracted or copied by the first launch that
  // asks for it and the same for every launch after it.
  std::string applicationArchive;

  // The temporary area; a launch that needs one and was given none is a
  // fault of whoever set it up.
  TempArea& tempArea() const {
    if (!temp) throw LauncherException("No temporary area was given for the launch.");
    return *temp;
  }
};
