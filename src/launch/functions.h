#pragma once
// The table of launch-script functions: each name with the number of
// arguments it takes and what it evaluates to.

#include <string>
#include <vector>

class LaunchFunctionScope;

using LaunchFunctionBody = std::string (*)(LaunchFunctionScope& script,
                                           const std::vector<std::string>& arguments);

struct LaunchFunction {
  const char* name;
  int minArguments;
  int maxArguments;  // -1: any number
  const char* countMessage;
  LaunchFunctionBody evaluate;
};

// The function of that exact name, or null.
const LaunchFunction* findLaunchFunction(const std::string& name);
