#include "engine/DeleteTree.h"

#include "base/PathUtil.h"

#include <windows.h>

namespace {

void DeleteOrSchedule(const std::wstring& path, bool isDirectory)
{
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    const BOOL deleted = isDirectory ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str());
    if (!deleted) {
        MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
}

}  // namespace

void DeleteTreeForce(const std::wstring& dir)
{
    if (!DirectoryExists(dir)) {
        return;
    }
    ForEachDirectoryEntry(dir, [&dir](const std::wstring& name, DWORD attributes) {
        const std::wstring path = PathJoin(dir, name);
        const bool isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool isLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (isDirectory && !isLink) {
            DeleteTreeForce(path);
        } else {
            DeleteOrSchedule(path, isDirectory);
        }
    });
    DeleteOrSchedule(dir, true);
}
