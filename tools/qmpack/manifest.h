#pragma once
// The qmpack manifest: a tag file naming the stub, the output, the launcher
// kind and the entries, turned into a plan that says what to write.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/index.h"

struct PackSource {
  // Type, id, name and compression; offset and length follow from the
  // layout once the sizes are known.
  FileEntry entry;
  std::filesystem::path path;
};

struct PackPlan {
  std::filesystem::path stub;
  std::filesystem::path output;
  uint8_t kind = 0;
  std::vector<PackSource> entries;
};

// Throws LauncherException with the manifest's name and what is wrong.
PackPlan readManifest(const std::filesystem::path& manifest);

// One ENTRIES value: "type id source [name=NAME] [compressed=FILES,SIZE]".
// A relative source is taken from baseDir. Throws LauncherException.
PackSource parseEntryLine(const std::string& line, const std::filesystem::path& baseDir);

// Splits a line at blanks; a double quote starts a quoted stretch within a
// word, in which two double quotes stand for one. Throws LauncherException
// on a quote that is not closed.
std::vector<std::string> splitWords(const std::string& line);
// The word as splitWords reads it back: quoted only when it has to be.
std::string quoteWord(const std::string& word);
