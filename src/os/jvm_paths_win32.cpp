// Windows names its JVMs in the registry, which the platform hints of the
// JVM description files read; it has no list of JVM paths of its own. The
// PATH is searched as the command interpreter does, directory by directory.
#include "os/jvm_paths.h"

#include <windows.h>

#include "os/path.h"

namespace os {

std::vector<std::string> platformJvmPaths(const std::string&) { return {}; }

std::vector<std::string> programsOnSearchPath(const std::string& executableName) {
  std::vector<std::string> programs;
  std::string directories(32767, '\0');
  const DWORD length = GetEnvironmentVariableA("PATH", &directories[0],
                                               static_cast<DWORD>(directories.size()));
  if (length == 0 || length >= directories.size() || executableName.empty()) return programs;
  directories.resize(length);
  size_t start = 0;
  for (;;) {
    const size_t semicolon = directories.find(';', start);
    std::string directory = directories.substr(start, semicolon - start);
    // An entry may be written in quotes.
    if (directory.size() >= 2 && directory.front() == '"' && directory.back() == '"')
      directory = directory.substr(1, directory.size() - 2);
    if (!directory.empty()) {
      if (directory.back() != '\\' && directory.back() != '/') directory += '\\';
      const std::string program = directory + executableName;
      const DWORD attributes = GetFileAttributesA(program.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        programs.push_back(listedPathForm(program));
    }
    if (semicolon == std::string::npos) return programs;
    start = semicolon + 1;
  }
}

}  // namespace os
