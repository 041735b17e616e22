// The run's settings, as the options set them.

#include "base/settings.h"

LauncherSettings& settings() {
  static LauncherSettings instance;
  return instance;
}

std::string launcherDirectory() {
  const std::string& path = settings().originalLauncherFile;
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
