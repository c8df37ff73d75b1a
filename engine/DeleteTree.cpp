#include "engine/DeleteTree.h"

#include "base/PathUtil.h"
#include "base/StringUtil.h"
#include "engine/MoveToTemp.h"
#include "startup/SmartLogger.h"

#include <windows.h>

namespace {

bool IsDirectory(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// A directory that is entered: a real one, not a link to somewhere else.
bool IsRealDirectory(DWORD attributes) { return IsDirectory(attributes) && !IsReparsePoint(attributes); }

// The extension of a file name including its dot; empty without one.
std::wstring ExtensionOf(const std::wstring& name)
{
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : name.substr(dot);
}

bool DeleteNowOrReset(const std::wstring& path)
{
    if (DeleteFileW(path.c_str()) || !PathExists(path)) {
        return true;
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(path.c_str()) != FALSE;
}

void PurgeEntry(const std::wstring& path)
{
    if (DeleteNowOrReset(path)) {
        return;
    }
    if (DirectoryExists(path) && RemoveDirectoryW(path.c_str())) {
        return;
    }
    std::wstring moved;
    const std::wstring scheduled = MoveToTemp(path, moved) ? moved : path;
    ScheduleDeleteAtRestart(scheduled);
    Log(L"delete file:%s by pending:%s", path.c_str(), scheduled.c_str());
}

}  // namespace

bool IsAcceptedTreePath(const std::wstring& dir) { return !dir.empty() && dir.size() < MAX_PATH; }

bool DeleteTreeTracked(const std::wstring& dir, LeftoverList& leftovers, const FileProgress& progress)
{
    if (!IsAcceptedTreePath(dir)) {
        return false;
    }
    ForEachDirectoryEntry(dir, [&](const std::wstring& name, DWORD attributes) {
        const std::wstring path = PathJoin(dir, name);
        if (IsRealDirectory(attributes)) {
            DeleteTreeTracked(path, leftovers, progress);
            return;
        }
        DeleteEntryOrQueue(path, attributes, leftovers);
        if (progress && !IsDirectory(attributes)) {
            progress();
        }
    });
    DeleteFileOrQueue(dir, leftovers);
    return true;
}

bool DeleteTreeForce(const std::wstring& dir)
{
    if (!IsAcceptedTreePath(dir)) {
        return false;
    }
    const DWORD own = GetFileAttributesW(dir.c_str());
    if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_READONLY)) {
        SetFileAttributesW(dir.c_str(), own & ~FILE_ATTRIBUTE_READONLY);
    }
    ForEachDirectoryEntry(dir, [&](const std::wstring& name, DWORD attributes) {
        const std::wstring path = PathJoin(dir, name);
        if (IsRealDirectory(attributes)) {
            DeleteTreeForce(path);
        } else if (IsDirectory(attributes)) {
            if (!RemoveDirectoryW(path.c_str())) {
                ScheduleDeleteAtRestart(path);
            }
        } else {
            DeleteOrPending(path);
        }
    });
    ShellDelete(dir);
    // What was in use leaves the directory behind; it goes after its files at the restart.
    if (PathExists(dir)) {
        ScheduleDeleteAtRestart(dir);
    }
    return true;
}

bool PurgeExtension(const std::wstring& dir, const std::wstring& extension)
{
    if (!IsAcceptedTreePath(dir)) {
        return false;
    }
    ForEachDirectoryEntry(
        dir,
        [&](const std::wstring& name, DWORD attributes) {
            const std::wstring path = PathJoin(dir, name);
            if (IsRealDirectory(attributes)) {
                PurgeExtension(path, extension);
            }
            if (EqualsNoCase(ExtensionOf(name), extension)) {
                PurgeEntry(path);
            }
        },
        L"*.*");
    return true;
}
