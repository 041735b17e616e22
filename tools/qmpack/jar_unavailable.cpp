// Jar reading for a qmpack built without zlib: it refuses.

#include "qmpack/jar.h"

#include "base/exceptions.h"

JarFacts readJarFacts(const std::filesystem::path& jar) {
  throw LauncherException(jar.string() +
                          ": this qmpack was built without zlib and cannot read jars; use the qmpack "
                          "of the build machine, or a manifest");
}
