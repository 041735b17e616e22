// The executable's entry; everything it does lives in launcherMain.

#include "launcher/app.h"

int main() { return launcherMain(); }
