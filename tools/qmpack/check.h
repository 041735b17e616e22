#pragma once
// What qmpack looks at before it writes: the entries the launcher parses,
// read with the launcher's own readers, and what the instruction script asks
// of the other entries. A launcher that can never run is refused; what is
// suspicious but may be meant is only warned of.

#include <string>
#include <vector>

#include "qmpack/manifest.h"

struct PackCheck {
  std::vector<std::string> refusals;  // each names the file and, where it can, the line
  std::vector<std::string> warnings;
};

PackCheck checkPlan(const PackPlan& plan);
