#pragma once
// The process environment.

#include <string>

namespace os {

// True when the variable is set to a non-empty value, which is stored whole.
bool getEnvironmentVariable(const std::string& name, std::string* value);

// Sets the variable, or removes it when value is null. False on failure.
bool setEnvironmentVariable(const std::string& name, const std::string* value);

}  // namespace os
