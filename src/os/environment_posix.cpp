// Environment variables through the C library.

#include "os/environment.h"

#include <stdlib.h>

namespace os {

bool getEnvironmentVariable(const std::string& name, std::string* value) {
  const char* text = getenv(name.c_str());
  if (!text || !*text) return false;
  *value = text;
  return true;
}

bool setEnvironmentVariable(const std::string& name, const std::string* value) {
  if (!value) return unsetenv(name.c_str()) == 0;
  return setenv(name.c_str(), value->c_str(), 1) == 0;
}

}  // namespace os
