#include "launcher/actions.h"

#include "launcher/driver.h"

void processInputFile(const std::string&, DriverRun&) {}
