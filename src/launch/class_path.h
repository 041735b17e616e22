#pragma once
// The CP launch-script function: the Java class path, put on the command
// line or, when the JVM file asks for it, into an environment variable.

#include <string>
#include <vector>

class LaunchFunctionScope;

std::string classPathFunction(LaunchFunctionScope& script, const std::vector<std::string>& arguments);
