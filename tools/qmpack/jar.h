#pragma once
// What qmpack reads of a jar: its manifest's Main-Class and Class-Path, and
// the Java version its class files need.

#include <filesystem>
#include <string>
#include <vector>

struct JarFacts {
  std::string mainClass;               // empty when the manifest names none
  std::vector<std::string> classPath;  // Class-Path's entries, as written
  int javaVersion = 0;                 // the newest class-file version, as a Java version; 0 without classes
};

// Throws LauncherException naming the jar and what is wrong with it.
JarFacts readJarFacts(const std::filesystem::path& jar);
