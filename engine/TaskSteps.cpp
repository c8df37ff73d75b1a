#include "engine/TaskSteps.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/StringUtil.h"
#include "config/ProductConstants.h"
#include "config/SetupConfig.h"
#include "engine/DeleteTree.h"
#include "engine/FileDelete.h"
#include "startup/SmartLogger.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

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

// The path made full the way the system resolves it ("." and ".." components, trailing dots and
// blanks), without a trailing separator; empty when it cannot be made.
std::wstring FullPathOf(const std::wstring& path)
{
    wchar_t full[MAX_PATH * 2] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 2, full, nullptr);
    if (length == 0 || length >= MAX_PATH * 2) {
        return std::wstring();
    }
    std::wstring result(full, length);
    while (result.size() > 3 && result.back() == L'\\') {
        result.pop_back();
    }
    return result;
}

std::vector<std::wstring> ValueNames(HKEY key)
{
    std::vector<std::wstring> names;
    wchar_t name[MAX_PATH];
    for (DWORD index = 0;; ++index) {
        DWORD length = MAX_PATH;
        if (RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

void RemoveListedFiles(const std::wstring& installDir, const wchar_t* subKey, LeftoverList& leftovers)
{
    UniqueHKey key = OpenRegKey(HKEY_LOCAL_MACHINE, PathJoin(product::kAppPathsKey, subKey), KEY_ALL_ACCESS);
    if (!key) {
        return;
    }
    for (const std::wstring& name : ValueNames(key.Get())) {
        if (!IsInsideInstallDir(installDir, name)) {
            Log(L"skip registry file %s: not inside the installation directory", name.c_str());
            continue;
        }
        const std::wstring path = PathJoin(installDir, name);
        if (DirectoryExists(path)) {
            DeleteTreeTracked(path, leftovers);
        } else if (PathExists(path)) {
            DeleteFileOrQueue(path, leftovers);
        }
    }
}

}  // namespace

bool IsInsideInstallDir(const std::wstring& installDir, const std::wstring& name)
{
    if (name.empty() || name[0] == L'\\' || name[0] == L'/' || name.find(L':') != std::wstring::npos) {
        return false;
    }
    const std::wstring dir = FullPathOf(installDir);
    const std::wstring path = FullPathOf(PathJoin(installDir, name));
    return !dir.empty() && path.size() > dir.size() + 1 && EqualsNoCase(path.substr(0, dir.size()), dir) &&
           path[dir.size()] == L'\\';
}

void RemoveFilesByRegistry(const std::wstring& installDir, LeftoverList& leftovers)
{
    Log(L"remove file by registry");
    if (installDir.empty() || !DirectoryExists(installDir)) {
        return;
    }
    RemoveListedFiles(installDir, product::kFileListSubKey, leftovers);
    RemoveListedFiles(installDir, product::kFilePeSubKey, leftovers);
}

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
