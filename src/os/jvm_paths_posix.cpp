// The JVMs a POSIX user expects to be found, in this order: the one named
// by JAVA_HOME; the directory of each program of that name on PATH, with
// the links that distributions put there (/usr/bin/java through
// /etc/alternatives) followed to the JVM's own directory; and every
// directory below the places where JVMs are installed, by name. Each path
// is given once, after its links are resolved.
#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "os/jvm_paths.h"
#include "os/path.h"

namespace os {

namespace {

const char* const kInstallDirectories[] = {"/usr/lib/jvm", "/usr/java", "/opt/java"};

bool isDirectory(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool isExecutableFile(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void addOnce(std::vector<std::string>* paths, const std::string& path) {
  if (std::find(paths->begin(), paths->end(), path) == paths->end()) paths->push_back(path);
}

void addFromSearchPath(std::vector<std::string>* paths, const std::string& executableName) {
  for (const std::string& program : programsOnSearchPath(executableName))
    addOnce(paths, directoryOf(program));
}

// readdir gives no particular order; names sorted keep the list stable.
void addInstalled(std::vector<std::string>* paths, const std::string& parent) {
  DIR* directory = opendir(parent.c_str());
  if (!directory) return;
  std::vector<std::string> names;
  while (const dirent* entry = readdir(directory))
    if (entry->d_name[0] != '.') names.push_back(entry->d_name);
  closedir(directory);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const std::string path = parent + "/" + name;
    if (isDirectory(path)) addOnce(paths, listedPathForm(path));
  }
}

}  // namespace

std::vector<std::string> programsOnSearchPath(const std::string& executableName) {
  std::vector<std::string> programs;
  const char* searchPath = getenv("PATH");
  if (!searchPath || executableName.empty()) return programs;
  const std::string directories(searchPath);
  size_t start = 0;
  for (;;) {
    const size_t colon = directories.find(':', start);
    std::string directory = directories.substr(start, colon - start);
    if (directory.empty()) directory = ".";
    const std::string program = directory + "/" + executableName;
    if (isExecutableFile(program)) programs.push_back(listedPathForm(program));
    if (colon == std::string::npos) return programs;
    start = colon + 1;
  }
}

std::vector<std::string> platformJvmPaths(const std::string& executableName) {
  std::vector<std::string> paths;
  const char* javaHome = getenv("JAVA_HOME");
  if (javaHome && *javaHome) addOnce(&paths, listedPathForm(javaHome));
  addFromSearchPath(&paths, executableName);
  for (const char* parent : kInstallDirectories) addInstalled(&paths, parent);
  // The JDKs a user installed with SDKMAN.
  const char* sdkman = getenv("SDKMAN_DIR");
  const char* userHome = getenv("HOME");
  if (sdkman && *sdkman)
    addInstalled(&paths, std::string(sdkman) + "/candidates/java");
  else if (userHome && *userHome)
    addInstalled(&paths, std::string(userHome) + "/.sdkman/candidates/java");
  return paths;
}

}  // namespace os
