#pragma once
// The launch-script functions that write system properties and extra Java
// arguments: SYSTEMPROP, RUNTIME_SYSTEMPROP (.sp file), RUNTIME_JAVAARGS
// (.ja file).

#include <string>
#include <vector>

class LaunchScript;

std::string systemPropertyFunction(LaunchScript& script, const std::vector<std::string>& arguments);
std::string runtimeSystemPropertiesFunction(LaunchScript& script,
                                            const std::vector<std::string>& arguments);
std::string runtimeJavaArgumentsFunction(LaunchScript& script,
                                         const std::vector<std::string>& arguments);
