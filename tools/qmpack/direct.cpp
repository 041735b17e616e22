// Direct mode: the options, the templates and the plan they give.

#include "qmpack/direct.h"

#include <algorithm>
#include <set>

#include "base/exceptions.h"
#include "qmpack/jar.h"
#include "tagfile/tag_file.h"

namespace fs = std::filesystem;

namespace {

const char kInstructions[][24] = {"INITIALIZE_UI",   "FIND_JVM 1 1",      "JMP0 @N1@ NOT_FOUND",
                                  "LAUNCH @S2@ 0",   "GOTO DONE",         ":NOT_FOUND",
                                  ":DONE"};

bool isVersionNumber(const std::string& text) {
  return !text.empty() && text.size() < 4 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// N, N+ or N..M, as JVM_PROPERTIES reads them.
bool isJavaVersions(const std::string& versions) {
  const size_t dots = versions.find("..");
  if (dots != std::string::npos)
    return isVersionNumber(versions.substr(0, dots)) && isVersionNumber(versions.substr(dots + 2));
  if (!versions.empty() && versions.back() == '+')
    return isVersionNumber(versions.substr(0, versions.size() - 1));
  return isVersionNumber(versions);
}

bool isClassName(const std::string& name) {
  return !name.empty() && name.front() != '.' && name.back() != '.' &&
         std::all_of(name.begin(), name.end(), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '_' || c == '$' || c == '.';
         });
}

std::string regularFile(const fs::path& path, const std::string& what) {
  std::error_code error;
  if (!fs::is_regular_file(path, error))
    throw LauncherException(path.string() + ": the " + what + " " +
                            (fs::exists(path, error) ? "is not a regular file" : "does not exist"));
  return path.string();
}

// The first of the candidates that is a regular file.
fs::path firstFile(const std::vector<fs::path>& candidates, const std::string& what,
                   const std::string& option) {
  std::error_code error;
  for (const fs::path& candidate : candidates)
    if (fs::is_regular_file(candidate, error)) return candidate;
  std::string looked;
  for (const fs::path& candidate : candidates) looked += (looked.empty() ? "" : ", ") + candidate.string();
  throw LauncherException("No " + what + " was found (looked for " + looked + "); give one with " + option);
}

void write(const TagFile& tags, const fs::path& path) {
  if (const int error = tags.write(path.string()))
    throw LauncherException(path.string() + ": cannot be written: " + std::to_string(error));
}

PackSource source(FileType type, int32_t id, const fs::path& path, const std::string& name) {
  PackSource made;
  made.entry.type = type;
  made.entry.id = id;
  made.entry.fileName = name;
  made.path = path;
  return made;
}

}  // namespace

bool isDirectCommandLine(const std::vector<std::string>& arguments) {
  return std::find(arguments.begin(), arguments.end(), "--jar") != arguments.end();
}

DirectRequest parseDirectArguments(const std::vector<std::string>& arguments) {
  DirectRequest request;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (i + 1 >= arguments.size()) throw LauncherException(option + " needs a value");
    const std::string& value = arguments[++i];
    if (option == "--jar") request.jars.push_back(value);
    else if (option == "--lib") request.libDirs.push_back(value);
    else if (option == "--main-class") request.mainClass = value;
    else if (option == "--java") request.java = value;
    else if (option == "--target") request.target = value;
    else if (option == "--name") request.name = value;
    else if (option == "--jvm-option") request.jvmOptions.push_back(value);
    else if (option == "--working-dir") request.workingDirLauncher = value == "launcher";
    else if (option == "--stub") request.stub = value;
    else if (option == "--verifier") request.verifier = value;
    else if (option == "--save-manifest") request.saveDir = value;
    else if (option == "-o") request.output = value;
    else throw LauncherException("unknown option " + option);
    if (option == "--working-dir" && value != "launcher" && value != "caller")
      throw LauncherException("--working-dir is launcher or caller, not " + value);
  }
  if (request.output.empty()) throw LauncherException("-o OUTPUT is missing");
  if (request.target != "linux" && request.target != "windows")
    throw LauncherException("--target is linux or windows, not " + request.target);
  if (!request.java.empty() && !isJavaVersions(request.java))
    throw LauncherException("--java is a version (21), a version and up (17+) or a range (11..21), not " +
                            request.java);
  for (const std::string& option : request.jvmOptions)
    if (option.empty() || option.find_first_of("%@#\"") != std::string::npos)
      throw LauncherException("--jvm-option " + option +
                              ": an option may not be empty or hold % @ # or \", which the launch "
                              "script reads as its own");
  return request;
}

PackPlan planDirect(const DirectRequest& request, const fs::path& directory,
                    const fs::path& qmpackDirectory) {
  const fs::path& application = request.jars.front();
  regularFile(application, "jar");
  const JarFacts facts = readJarFacts(application);

  const std::string mainClass = request.mainClass.empty() ? facts.mainClass : request.mainClass;
  if (mainClass.empty())
    throw LauncherException(application.string() +
                            ": the jar's manifest names no Main-Class; give one with --main-class");
  if (!isClassName(mainClass)) throw LauncherException("No class can be called " + mainClass);
  std::string java = request.java;
  // The oldest runtime the classes run on (a jar without classes asks for 8).
  if (java.empty()) java = std::to_string(facts.javaVersion > 0 ? facts.javaVersion : 8) + "+";
  const std::string name = request.name.empty() ? application.stem().string() : request.name;

  // The class path: the jars given, every jar of each --lib, and what the
  // application's Class-Path names beside it, each once.
  std::vector<fs::path> dependencies(request.jars.begin() + 1, request.jars.end());
  for (const fs::path& lib : request.libDirs) {
    std::error_code error;
    if (!fs::is_directory(lib, error)) throw LauncherException(lib.string() + ": --lib is not a directory");
    std::vector<fs::path> found;
    for (const auto& item : fs::directory_iterator(lib))
      if (item.path().extension() == ".jar" && item.is_regular_file()) found.push_back(item.path());
    std::sort(found.begin(), found.end());
    dependencies.insert(dependencies.end(), found.begin(), found.end());
  }
  for (const std::string& entry : facts.classPath) {
    const fs::path named = application.parent_path() / entry;
    std::error_code error;
    if (fs::is_regular_file(named, error)) dependencies.push_back(named);
  }

  const bool windows = request.target == "windows";
  const fs::path stub = !request.stub.empty()
                            ? fs::path(regularFile(request.stub, "stub"))
                            : firstFile(windows ? std::vector<fs::path>{qmpackDirectory / "qmlauncher.exe",
                                                                        qmpackDirectory / ".." / "win32-shipped" / "qmlauncher.exe",
                                                                        qmpackDirectory / ".." / "win32-release" / "qmlauncher.exe"}
                                                : std::vector<fs::path>{qmpackDirectory / "qmlauncher"},
                                        "launcher stub for " + request.target, "--stub");
  const fs::path verifier = !request.verifier.empty()
                                ? fs::path(regularFile(request.verifier, "verifier"))
                                : firstFile({qmpackDirectory / "Verify.jar"}, "verifier jar", "--verifier");

  std::error_code error;
  fs::create_directories(directory, error);
  if (error) throw LauncherException(directory.string() + ": cannot be made: " + error.message());

  TagFile instructions;
  instructions.setValue("DESC", name);
  for (const char* line : kInstructions) instructions.addValue("INSTRUCTIONS", line);
  write(instructions, directory / "instructions.txt");

  TagFile launch;
  launch.setValue("DESC", name);
  launch.setValue("DISPLAY_CONSOLE", "1");
  launch.setValue("AUTO_SET_WORKING_DIR", request.workingDirLauncher ? "1" : "0");
  launch.setValue("ARCHIVE", "\"%APPLICATION_ARCHIVE%()\"");
  std::string command = "\"@JVM_HOME@/@JVM_EXE@\"";
  for (const std::string& option : request.jvmOptions)
    command += option.find(' ') == std::string::npos ? " " + option : " \"" + option + "\"";
  command += " %CP%() " + mainClass;
  launch.setValue("COMMAND", command);
  write(launch, directory / "launch.txt");

  TagFile jvm;
  jvm.setValue("DESC", "Java " + java + " runtime of any vendor (java.specification.version " + java + ")");
  jvm.setValue("JVM_EXE", windows ? "bin\\java.exe" : "bin/java");
  jvm.setValue("CLASSPATH", "-cp ");
  jvm.setValue("CLASSPATH_SEPARATOR", windows ? ";" : ":");
  jvm.setValue("SYSTEM", "-D");
  jvm.setValue("SYSTEM_SEPARATOR", "=");
  jvm.addValue("JVM_PROPERTIES", "java.specification.version=" + java);
  jvm.addValue("ENV_HINT", "JAVA_HOME");
  jvm.setValue("PATH_JAVA", "1");
  jvm.addValue("PATH_HINT", "jre");
  if (windows) {
    // Where the installers of the common vendors register and put each
    // version; both registry views are read.
    for (const char* key : {"JavaSoft\\JDK\\*\\JavaHome", "JavaSoft\\JRE\\*\\JavaHome",
                            "JavaSoft\\Java Development Kit\\*\\JavaHome",
                            "JavaSoft\\Java Runtime Environment\\*\\JavaHome",
                            "Eclipse Adoptium\\JDK\\*\\hotspot\\MSI\\Path",
                            "Eclipse Adoptium\\JRE\\*\\hotspot\\MSI\\Path",
                            "Microsoft\\JDK\\*\\hotspot\\MSI\\Path",
                            "Azul Systems\\Zulu\\*\\InstallationPath"})
      jvm.addValue("PLATFORM_HINT", std::string("\\HKEY_LOCAL_MACHINE\\SOFTWARE\\") + key);
    for (const char* programs : {"\\Program Files\\", "\\Program Files (x86)\\"})
      for (const char* folder : {"Java", "Eclipse Adoptium", "Microsoft", "Zulu", "Amazon Corretto",
                                 "BellSoft"})
        jvm.addValue("JVM_DIRS", std::string(programs) + folder);
  }
  jvm.setValue("INIT_JAVA_HEAP", "-Xms");
  jvm.setValue("MAX_JAVA_HEAP", "-Xmx");
  write(jvm, directory / "java.jvm");

  PackPlan plan;
  plan.stub = stub;
  plan.output = request.output;
  plan.entries.push_back(source(INSTRUCTIONS, 0, directory / "instructions.txt", "instructions.txt"));
  plan.entries.push_back(source(VERIFIER_ARCHIVE, 1, verifier, "Verify.jar"));
  plan.entries.push_back(source(LAUNCHSCRIPT, 2, directory / "launch.txt", "launch.txt"));
  plan.entries.push_back(source(JVM, 3, directory / "java.jvm", "java.jvm"));
  plan.entries.push_back(source(APPLICATION_ARCHIVE, 4, fs::absolute(application),
                                application.filename().string()));
  std::set<std::string> names;
  int32_t id = 5;
  for (const fs::path& dependency : dependencies) {
    const std::string stored = dependency.filename().string();
    if (!names.insert(stored).second)
      throw LauncherException(dependency.string() + ": another dependency is also called " + stored +
                              ", and both would be extracted to one directory");
    regularFile(dependency, "dependency");
    plan.entries.push_back(source(CLASSPATH_ARCHIVE, id++, fs::absolute(dependency), stored));
  }

  // The manifest that packs the same launcher, for a developer to start from.
  TagFile manifest;
  manifest.setValue("STUB", fs::absolute(plan.stub).string());
  manifest.setValue("OUTPUT", fs::absolute(plan.output).string());
  for (const PackSource& entry : plan.entries)
    manifest.addValue("ENTRIES", std::to_string(entry.entry.type) + " " + std::to_string(entry.entry.id) +
                                     " " + quoteWord(fs::absolute(entry.path).string()) +
                                     " name=" + quoteWord(entry.entry.fileName));
  write(manifest, directory / (name + ".manifest"));
  return plan;
}
