#include "cleanup/cleanup.h"

void cleanupAtExit() {}
