#include "config/ProtectedFolders.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/StringUtil.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

namespace {

constexpr wchar_t kProfileListKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

std::wstring WithoutTrailingSeparators(std::wstring path)
{
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) {
        path.pop_back();
    }
    return path;
}

// Full, long, without trailing separators; empty when the path cannot be made full.
std::wstring Normalized(const std::wstring& path)
{
    wchar_t full[MAX_PATH * 4] = {};
    const DWORD fullLength = GetFullPathNameW(path.c_str(), MAX_PATH * 4, full, nullptr);
    if (fullLength == 0 || fullLength >= MAX_PATH * 4) {
        return std::wstring();
    }
    wchar_t longForm[MAX_PATH * 4] = {};
    const DWORD longLength = GetLongPathNameW(full, longForm, MAX_PATH * 4);
    const std::wstring chosen = longLength > 0 && longLength < MAX_PATH * 4 ? longForm : full;
    return WithoutTrailingSeparators(chosen);
}

std::wstring FolderPath(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return std::wstring();
    }
    return Normalized(path);
}

std::wstring EnvironmentFolder(const wchar_t* name)
{
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? Normalized(value) : std::wstring();
}

std::wstring UsersRoot()
{
    const std::optional<std::wstring> configured =
        RegReadString(HKEY_LOCAL_MACHINE, kProfileListKey, L"ProfilesDirectory", MAX_PATH);
    if (configured && !configured->empty()) {
        wchar_t expanded[MAX_PATH] = {};
        if (ExpandEnvironmentStringsW(configured->c_str(), expanded, MAX_PATH) > 0) {
            return Normalized(expanded);
        }
    }
    const std::wstring profile = FolderPath(CSIDL_PROFILE);
    return profile.empty() ? std::wstring() : PathDirectory(profile);
}

bool IsBelowOrSame(const std::wstring& path, const std::wstring& folder)
{
    if (folder.empty() || path.size() < folder.size() || !EqualsNoCase(path.substr(0, folder.size()), folder)) {
        return false;
    }
    return path.size() == folder.size() || path[folder.size()] == L'\\' || folder.back() == L'\\';
}

bool IsRoot(const std::wstring& path)
{
    return PathIsRootW(path.c_str()) || (path.size() == 2 && path[1] == L':');
}

}  // namespace

bool IsProtectedFolder(const std::wstring& dir)
{
    const std::wstring path = Normalized(dir);
    if (path.empty() || IsRoot(path)) {
        return true;
    }
    if (IsBelowOrSame(path, FolderPath(CSIDL_WINDOWS))) {
        return true;
    }
    const std::vector<std::wstring> exactRoots = {
        FolderPath(CSIDL_PROGRAM_FILES), FolderPath(CSIDL_PROGRAM_FILESX86), EnvironmentFolder(L"ProgramW6432"),
        FolderPath(CSIDL_COMMON_APPDATA), FolderPath(CSIDL_PROFILE)};
    for (const std::wstring& root : exactRoots) {
        if (!root.empty() && EqualsNoCase(path, root)) {
            return true;
        }
    }
    const std::wstring users = UsersRoot();
    return !users.empty() && (EqualsNoCase(path, users) || EqualsNoCase(PathDirectory(path), users));
}
