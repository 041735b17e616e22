#pragma once
// The temporary root, private directories and files below it, extraction of
// archive entries, and the directory walker.

#include <string>

// Sets the temporary root (the -qm:tempdir option).
void setTempRoot(const std::string& path);

// Writes every embedded file and an input.tag that runs them into the
// current directory. Throws LauncherException.
void extractAll();
