// The run's settings, as the options set them.

#include "base/settings.h"

#include "base/paths.h"

LauncherSettings& settings() {
  static LauncherSettings instance;
  return instance;
}

std::string launcherDirectory() { return directoryPart(settings().originalLauncherFile); }
