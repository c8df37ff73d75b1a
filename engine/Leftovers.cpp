#include "engine/Leftovers.h"

#include "base/PathUtil.h"
#include "base/ScopedHandle.h"
#include "engine/BatchWriter.h"
#include "engine/MoveToTemp.h"
#include "startup/SmartLogger.h"

#include <windows.h>

#include <vector>

namespace {

constexpr char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char kDeleteFileLine[] = "del /q \"%s\" \r\n";
constexpr char kRemoveTreeLine[] = "rd /s /q \"%s\" \r\n";
constexpr char kRemoveDirLine[] = "rd /q \"%s\" \r\n";

// Schedules path for the restart, or writes its batch line when Windows refuses.
void ScheduleOrBatch(BatchWriter& batch, const std::wstring& path, const char* batchLine)
{
    if (ScheduleDeleteAtRestart(path)) {
        Log(L"write %s to pending success", path.c_str());
        return;
    }
    batch.WriteLine(batchLine, path);
    Log(L"write to runonce bat: %s", path.c_str());
}

// A link goes as a link: removed now, or scheduled where it stands; it is never moved or entered.
void ScheduleLink(BatchWriter& batch, const std::wstring& path, DWORD attributes)
{
    const bool isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isDirectory ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str())) {
        return;
    }
    ScheduleOrBatch(batch, path, isDirectory ? kRemoveDirLine : kDeleteFileLine);
}

void ScheduleFile(BatchWriter& batch, const std::wstring& path)
{
    std::wstring moved;
    if (!MoveToTemp(path, moved)) {
        Log(L"cut %s to temp failed, delete by pending", path.c_str());
        DeleteOrPending(path);
        return;
    }
    Log(L"cut %s to %s success", path.c_str(), moved.c_str());
    ScheduleOrBatch(batch, moved, kDeleteFileLine);
}

bool RemoveDirectoryNow(const std::wstring& dir)
{
    if (DeleteFileW(dir.c_str()) || !PathExists(dir)) {
        return true;
    }
    if (SetFileAttributesW(dir.c_str(), FILE_ATTRIBUTE_NORMAL) && DeleteFileW(dir.c_str())) {
        return true;
    }
    return DirectoryExists(dir) && RemoveDirectoryW(dir.c_str());
}

void ScheduleDirectory(BatchWriter& batch, const std::wstring& dir)
{
    if (RemoveDirectoryNow(dir)) {
        return;
    }
    std::wstring moved;
    if (!MoveToTemp(dir, moved)) {
        Log(L"cut %s to temp failed,delete by pending", dir.c_str());
        DeleteOrPending(dir);
        return;
    }
    Log(L"cut %s to %s success", dir.c_str(), moved.c_str());
    ScheduleOrBatch(batch, moved, kRemoveTreeLine);
}

// Lets the batch file delete itself and registers it to run at the next log-on.
void RegisterBatch(BatchWriter& batch)
{
    const std::wstring widePath = FromAnsiPath(batch.Path());
    batch.WriteLine(kDeleteFileLine, widePath);
    Log(L"write to runonce bat: %s", widePath.c_str());
    HKEY created = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    UniqueHKey key(created);
    const std::string& path = batch.Path();
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    if (RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1)) == ERROR_SUCCESS) {
        Log(L"write runonce bat to registry");
    }
}

}  // namespace

bool ScheduleLeftovers(LeftoverList& leftovers, const std::wstring& installDir)
{
    if (installDir.empty()) {
        return false;
    }
    BatchWriter batch;
    std::vector<std::wstring> directories;
    for (const std::wstring& path : leftovers) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (IsReparsePoint(attributes)) {
            ScheduleLink(batch, path, attributes);
        } else if (DirectoryExists(path)) {
            directories.push_back(path);
        } else {
            ScheduleFile(batch, path);
        }
    }
    leftovers.clear();
    for (const std::wstring& dir : directories) {
        ScheduleDirectory(batch, dir);
    }
    ScheduleOrBatch(batch, HiddenTempFolderOf(installDir), kRemoveDirLine);
    if (batch.Exists()) {
        RegisterBatch(batch);
    }
    RemoveDirectoryW(installDir.c_str());
    batch.Close();
    return true;
}
