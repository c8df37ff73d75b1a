// The smaller removal steps of the uninstall sequence: browser cache and application data
// folders, the product's registry keys and the predecessor's uninstaller.
#pragma once

#include <windows.h>

#include <string>

class ISetupConfig;

// Deletes the roaming "dovirad\cef_cache" folder if it exists and logs "remove cef cache".
void RemoveBrowserCache();

// Deletes the roaming "dovirad" folder, only when the user chose to (logs "remove appdata").
void RemoveAppData(bool remove);

// Deletes the project file's registry key and the product's fixed keys, each on its own; nothing
// when the project file names no sub-key.
void RemoveProductRegistry(ISetupConfig& config);
void RemoveProductRegistry(HKEY appRoot, const std::wstring& appSubKey);

// Deletes "Lumio\Lumiopapyr\Uninstall.exe" below Program Files and the two folders when empty.
void RemoveLegacyUninstaller();

// A registry path with every run of backslashes made one, and none at either end.
std::wstring CollapseKeySeparators(const std::wstring& path);
