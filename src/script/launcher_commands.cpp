#include "script/launcher_commands.h"

#include "launcher/exceptions.h"
#include "launcher/ui.h"

namespace {

// Commands whose subsystem this build does not have yet stop the script
// with a clear error rather than pretending to have run.
[[noreturn]] void notAvailable(const char* command) {
  throw LauncherException(std::string("The ") + command +
                          " command is not available in this build of the launcher.");
}

}  // namespace

void LauncherCommands::doInitializeUi() {
  ui::setStatus(ui::kStatusInitializing);
  ui::setStatusDetail(ui::kDetailNone, std::string());
  ui::showProgress();
}

void LauncherCommands::doFindJvm(bool, bool) { notAvailable("FIND_JVM"); }
int32_t LauncherCommands::doLaunchInternal(int32_t, int16_t) { notAvailable("ILAUNCH"); }
void LauncherCommands::doInstallJvm(int32_t) { notAvailable("INSTALL_JVM"); }
int32_t LauncherCommands::doLaunch(const std::string&, int16_t) { notAvailable("LAUNCH"); }
void LauncherCommands::doVerify(bool, bool, int32_t) { notAvailable("VERIFY"); }
void LauncherCommands::doExecuteLauncher(int32_t) { notAvailable("EXECUTE_LAUNCHER"); }
