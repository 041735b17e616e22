#pragma once
// What a launch-script function sees of the script whose command calls it.
// The launch script is the one scope; the functions need no more of it, so
// they and the script do not depend on each other.

#include <string>

#include "launch/launch_context.h"

class LaunchFunctionScope {
public:
  virtual ~LaunchFunctionScope() = default;

  // The run's launch context.
  virtual LaunchContext& context() = 0;
  // While a command is built: the first value of a tag of the JVM file being
  // launched, and text with its @NAME@ values substituted. Otherwise there
  // is no JVM file: tags read as empty and text stays as it is.
  virtual std::string jvmValue(const std::string& tag) const = 0;
  virtual std::string substituteValues(const std::string& text) = 0;
  // Text with its % function calls expanded.
  virtual std::string expandFunctions(const std::string& text) = 0;
  // The script's ARCHIVE value, and whether the archive's class-path entries
  // go on the class path.
  virtual const std::string& archive() const = 0;
  virtual bool includeEmbeddedClassPath() const = 0;
};
