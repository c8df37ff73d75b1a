// The smaller removal steps of the uninstall sequence: browser cache and application data
// folders, the product's registry keys and the predecessor's uninstaller.
#pragma once

#include "engine/FileDelete.h"

#include <windows.h>

#include <string>

class ISetupConfig;

// Deletes the roaming "dovirad\cef_cache" folder if it exists and logs "remove cef cache".
void RemoveBrowserCache();

// Deletes the roaming "dovirad" folder, only when the user chose to (logs "remove appdata").
void RemoveAppData(bool remove);

// Deletes the files and folders the installer listed under the App Paths "file_list" and
// "file_pe" keys (value names relative to installDir); survivors go to leftovers. A name that is
// absolute or climbs out with ".." is skipped and logged.
void RemoveFilesByRegistry(const std::wstring& installDir, LeftoverList& leftovers);

// Whether a listed name, joined to installDir and resolved as the system resolves paths, lies
// strictly inside installDir.
bool IsInsideInstallDir(const std::wstring& installDir, const std::wstring& name);

// Deletes the project file's registry key and the product's fixed keys, each on its own; nothing
// when the project file names no sub-key.
void RemoveProductRegistry(ISetupConfig& config);
void RemoveProductRegistry(HKEY appRoot, const std::wstring& appSubKey);

// Deletes "Lumio\Lumiopapyr\Uninstall.exe" below Program Files and the two folders when empty.
void RemoveLegacyUninstaller();

// A registry path with every run of backslashes made one, and none at either end.
std::wstring CollapseKeySeparators(const std::wstring& path);
