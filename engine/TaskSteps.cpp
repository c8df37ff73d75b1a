#include "engine/TaskSteps.h"

#include "base/PathUtil.h"
#include "config/ProductConstants.h"
#include "config/SetupConfig.h"
#include "engine/DeleteTree.h"
#include "startup/SmartLogger.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {

constexpr int kSubKeyChars = 1024;

std::wstring RoamingFolder()
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

void DeleteTreeIfPresent(const std::wstring& dir)
{
    if (DirectoryExists(dir)) {
        DeleteTreeForce(dir);
    }
}

// The key with all its sub-keys and values.
void DeleteKeyTree(HKEY root, const std::wstring& subKey) { SHDeleteKeyW(root, subKey.c_str()); }

}  // namespace

void RemoveBrowserCache()
{
    DeleteTreeIfPresent(PathJoin(RoamingFolder(), product::kBrowserCacheFolder));
    Log(L"remove cef cache");
}

void RemoveAppData(bool remove)
{
    if (!remove) {
        return;
    }
    Log(L"remove appdata");
    DeleteTreeIfPresent(PathJoin(RoamingFolder(), product::kAppDataFolder));
}

std::wstring CollapseKeySeparators(const std::wstring& path)
{
    std::wstring collapsed;
    for (wchar_t c : path) {
        if (c == L'\\' && (collapsed.empty() || collapsed.back() == L'\\')) {
            continue;
        }
        collapsed += c;
    }
    while (!collapsed.empty() && collapsed.back() == L'\\') {
        collapsed.pop_back();
    }
    return collapsed;
}

void RemoveProductRegistry(ISetupConfig& config)
{
    wchar_t subKey[kSubKeyChars] = {};
    config.GetRegAppPathSubKey(subKey, kSubKeyChars);
    RemoveProductRegistry(config.GetRegAppPathRoot(), subKey);
}

void RemoveProductRegistry(HKEY appRoot, const std::wstring& appSubKey)
{
    Log(L"remove registry");
    const std::wstring appKey = CollapseKeySeparators(appSubKey);
    if (appKey.empty()) {
        return;
    }
    DeleteKeyTree(appRoot, appKey);
    DeleteKeyTree(HKEY_CURRENT_USER, product::kProductKey);
    DeleteKeyTree(HKEY_CURRENT_USER, product::kVendorKey);
    DeleteKeyTree(HKEY_CLASSES_ROOT, product::kClassesKey);
}

void RemoveLegacyUninstaller()
{
    wchar_t programFiles[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programFiles);
    const std::wstring vendor = PathJoin(programFiles, product::kLegacyVendorFolder);
    const std::wstring folder = PathJoin(vendor, product::kLegacyProductFolder);
    const std::wstring uninstaller = PathJoin(folder, product::kUninstallerName);
    if (FileExists(uninstaller)) {
        DeleteFileW(uninstaller.c_str());
    }
    if (DirectoryExists(folder)) {
        RemoveDirectoryW(folder.c_str());
    }
    if (DirectoryExists(vendor)) {
        RemoveDirectoryW(vendor.c_str());
    }
}
