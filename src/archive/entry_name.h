#pragma once
// The rule for the names that archive entries are stored and extracted under.

#include <string>

// Why name cannot be an entry's file name, or empty when it can. An entry is
// extracted to a directory followed by its name, so a separator, a drive or
// a parent reference would write outside it; and a name Windows cannot hold
// as an ordinary file (a device such as CON or COM1, whatever its extension,
// or a name ending in a dot or a blank) would write somewhere else or fail.
std::string entryNameProblem(const std::string& name);
