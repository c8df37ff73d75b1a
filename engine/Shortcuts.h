// The product's desktop and start-menu shortcuts and its uninstall entry.
#pragma once

#include <string>

// Recreates the shortcuts of an existing installation and, when that worked, its uninstall entry.
bool RestoreShortcuts(const std::wstring& installDir);
