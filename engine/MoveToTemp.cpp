#include "engine/MoveToTemp.h"

#include "base/PathUtil.h"
#include "base/StringUtil.h"
#include "base/TempName.h"
#include "engine/FileDelete.h"
#include "startup/SmartLogger.h"

#include <windows.h>

#include <cwctype>

namespace {

std::wstring WindowsDirectory()
{
    wchar_t dir[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(dir, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? std::wstring(dir, length) : std::wstring();
}

// The user's temporary folder on the Windows drive, else the drive's hidden ".temp" folder.
std::wstring TempFolderFor(const std::wstring& path)
{
    const std::wstring windowsDir = WindowsDirectory();
    if (!windowsDir.empty() && towupper(path[0]) == towupper(windowsDir[0])) {
        return GetTempDirectory();
    }
    const std::wstring folder = HiddenTempFolderOf(path);
    if (!DirectoryExists(folder)) {
        CreateDirectoryTree(folder);
        SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    return folder;
}

}  // namespace

std::wstring HiddenTempFolderOf(const std::wstring& path)
{
    return path.empty() ? std::wstring() : FormatString(L"%c:\\.temp", path[0]);
}

bool MoveToTemp(const std::wstring& path, std::wstring& newPath)
{
    newPath.clear();
    if (path.empty() || !PathExists(path)) {
        return false;
    }
    // A link is never moved: moving it must not take what it points at along.
    if (IsReparsePoint(GetFileAttributesW(path.c_str()))) {
        return false;
    }
    const std::wstring folder = TempFolderFor(path);
    if (folder.size() <= MAX_PATH) {
        newPath = ChooseFreshTempPath(folder);
    }
    if (!MoveFileW(path.c_str(), newPath.c_str())) {
        Log(L"move %s to %s, failed, error=%d", path.c_str(), newPath.c_str(), static_cast<int>(GetLastError()));
        return false;
    }
    if (PathExists(path)) {
        DeleteOrPending(newPath);
        return false;
    }
    return true;
}
