// Starting the product with Windows: the autorun switch, Run values and the log-on task.
#pragma once

#include <string>

// Switches autorun on in "config.set" and registers the product's service program for log-on.
void RestoreAutorun(const std::wstring& installDir);
