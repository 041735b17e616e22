// Side files beside the launcher that add to the class path and the command.

#include "launch/side_files.h"

#include <cstdio>

#include "base/paths.h"
#include "base/settings.h"
#include "base/text.h"
#include "launch/literal_text.h"

const char kClassPathFirstFile[] = ".cp1";
const char kClassPathFile[] = ".cp";
const char kClassPathLastFile[] = ".cp2";
const char kSystemPropertyFile[] = ".sp";
const char kJavaArgumentsFile[] = ".ja";

std::vector<std::string> readSideFile(const char* extension) {
  std::vector<std::string> lines;
  std::FILE* file =
      std::fopen(sideFilePath(settings().originalLauncherFile, extension).c_str(), "r");
  if (!file) return lines;
  for (bool atEnd = false; !atEnd;) {
    const std::string line = readLine(file, &atEnd);
    if (!line.empty()) lines.push_back(sealMarkerBytes(line));
  }
  std::fclose(file);
  return lines;
}
