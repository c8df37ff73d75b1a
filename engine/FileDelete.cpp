#include "engine/FileDelete.h"

#include "base/PathUtil.h"
#include "startup/SmartLogger.h"

#include <shellapi.h>

#include <vector>

namespace {

constexpr size_t kShellPathChars = 4096;
constexpr FILEOP_FLAGS kShellDeleteFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;

// True when dir or any directory below it holds a junction or symbolic link.
bool TreeHoldsLink(const std::wstring& dir)
{
    bool found = false;
    ForEachDirectoryEntry(dir, [&](const std::wstring& name, DWORD attributes) {
        if (found) {
            return;
        }
        if (IsReparsePoint(attributes)) {
            found = true;
        } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            found = TreeHoldsLink(PathJoin(dir, name));
        }
    });
    return found;
}

bool RunShellDelete(const std::wstring& path)
{
    if (path.size() + 2 > kShellPathChars) {
        return false;
    }
    std::vector<wchar_t> from(path.size() + 2, L'\0');
    path.copy(from.data(), path.size());
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.data();
    operation.fFlags = kShellDeleteFlags;
    return SHFileOperationW(&operation) == 0;
}

bool DeleteLoggedFile(const std::wstring& path)
{
    if (!DeleteFileW(path.c_str())) {
        return false;
    }
    Log(L"DeleteFile:%s suceesss", path.c_str());
    return true;
}

}  // namespace

bool IsReparsePoint(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool ShellDelete(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool isDirectory = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (isDirectory && (RemoveDirectoryW(path.c_str()) || IsReparsePoint(attributes) || TreeHoldsLink(path))) {
        return true;
    }
    RunShellDelete(path);
    return true;
}

bool DeleteFileOrQueue(const std::wstring& path, LeftoverList& leftovers)
{
    return DeleteEntryOrQueue(path, GetFileAttributesW(path.c_str()), leftovers);
}

bool DeleteEntryOrQueue(const std::wstring& path, DWORD attributes, LeftoverList& leftovers)
{
    const bool isDirectory = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (isDirectory) {
        ShellDelete(path);
    } else if (DeleteLoggedFile(path)) {
        return true;
    } else if (SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) && DeleteLoggedFile(path)) {
        return true;
    }
    if (!PathExists(path)) {
        return true;
    }
    leftovers.push_back(path);
    return false;
}

bool DeleteOrPending(const std::wstring& path)
{
    if (DeleteFileW(path.c_str())) {
        return true;
    }
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        return true;
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileW(path.c_str())) {
        return true;
    }
    error = GetLastError();
    Log(L"delete %s failed, error=%d", path.c_str(), static_cast<int>(error));
    ScheduleDeleteAtRestart(path);
    return false;
}

bool ScheduleDeleteAtRestart(const std::wstring& path)
{
    return MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}
