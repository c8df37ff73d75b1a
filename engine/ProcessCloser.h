// Closing the product before its files are removed: its windows are asked to quit, then whatever
// still runs from the installation directory is terminated.
#pragma once

#include "config/SetupConfig.h"

#include <string>

// Broadcasts the product's quit message, sends each configured window its close message, and
// terminates the processes of installDir (its service and main program by name last).
void KillProcessesInInstallPath(ISetupConfig& config, const std::wstring& installDir);
