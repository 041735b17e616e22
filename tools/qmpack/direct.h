#pragma once
// qmpack's direct mode: from a jar (and the jars it needs) to a runnable
// launcher in one command, with the instruction script, launch script and
// JVM description file made from templates built into qmpack.

#include <filesystem>
#include <string>
#include <vector>

#include "qmpack/manifest.h"

struct DirectRequest {
  std::vector<std::filesystem::path> jars;     // the application's first, then its dependencies
  std::vector<std::filesystem::path> libDirs;  // every jar in each goes on the class path
  std::string mainClass;                       // empty: the jar's Main-Class
  std::string java;                            // N, N+ or N..M; empty: the jar's classes' version and up
  std::string target = "linux";                // linux or windows
  std::string name;                            // empty: the jar's name without .jar
  std::vector<std::string> jvmOptions;
  bool workingDirLauncher = false;             // --working-dir launcher
  std::filesystem::path stub;                  // empty: found beside qmpack
  std::filesystem::path verifier;              // empty: found beside qmpack
  std::filesystem::path output;
  std::filesystem::path saveDir;               // empty: the files are made in a temporary directory
};

// Reads the direct mode's options (everything after the program name).
// Throws LauncherException for a wrong or incomplete command line.
DirectRequest parseDirectArguments(const std::vector<std::string>& arguments);

// Whether the command line asks for direct mode (it names a --jar).
bool isDirectCommandLine(const std::vector<std::string>& arguments);

// Writes the generated files (and a manifest that packs them) into
// directory and gives the plan; qmpackDirectory is where the stub and the
// verifier are looked for when not given. Throws LauncherException naming
// the file and the reason for every refusal.
PackPlan planDirect(const DirectRequest& request, const std::filesystem::path& directory,
                    const std::filesystem::path& qmpackDirectory);
