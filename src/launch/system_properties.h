#pragma once
// The launch-script functions that write system properties and extra Java
// arguments: SYSTEMPROP, RUNTIME_SYSTEMPROP (.sp file), RUNTIME_JAVAARGS
// (.ja file).

#include <string>
#include <vector>

class LaunchFunctionScope;

std::string systemPropertyFunction(LaunchFunctionScope& script, const std::vector<std::string>& arguments);
std::string runtimeSystemPropertiesFunction(LaunchFunctionScope& script,
                                            const std::vector<std::string>& arguments);
std::string runtimeJavaArgumentsFunction(LaunchFunctionScope& script,
                                         const std::vector<std::string>& arguments);
