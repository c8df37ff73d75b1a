#include "engine/ProcessKiller.h"

#include "base/PathUtil.h"
#include "base/ScopedHandle.h"
#include "base/StringUtil.h"
#include "config/ProductConstants.h"
#include "startup/CallerCheck.h"
#include "startup/SmartLogger.h"

#include <psapi.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <exception>
#include <vector>

namespace {

constexpr DWORD kProcessIdBytes = 2048;
constexpr int kImagePathChars = 1024;
constexpr size_t kMinDirChars = 4;
constexpr size_t kMaxPathChars = MAX_PATH;
constexpr DWORD kModuleNameChars = MAX_PATH - 1;
// Programs below the installation directory that keep running during the uninstall.
const wchar_t* const kIgnoredPrograms[] = {product::kIgnoredProgram};

bool EnumerateProcessIds(std::vector<DWORD>& ids)
{
    ids.assign(kProcessIdBytes / sizeof(DWORD), 0);
    DWORD returned = 0;
    if (!EnumProcesses(ids.data(), kProcessIdBytes, &returned)) {
        return false;
    }
    ids.resize(returned / sizeof(DWORD));
    return true;
}

std::wstring UpperImagePath(DWORD pid)
{
    std::vector<wchar_t> buffer(kImagePathChars, L'\0');
    const int length = GetProcessImagePath(pid, buffer.data(), kImagePathChars);
    return length > 0 ? ToUpper(buffer.data()) : std::wstring();
}

void TerminateById(DWORD pid, UINT exitCode)
{
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, pid));
    if (process) {
        TerminateProcess(process.Get(), exitCode);
    }
}

void GetDebugPrivilegeGuarded(bool logFailure)
{
    try {
        GetDebugPrivilege();
    } catch (const std::exception&) {
        if (logFailure) {
            Log(L"GetDebugPrivilege 异常");
        }
    }
}

bool IsIgnored(const std::wstring& image, const std::wstring& dir)
{
    for (const wchar_t* program : kIgnoredPrograms) {
        if (EqualsNoCase(image, PathJoin(dir, program))) {
            return true;
        }
    }
    return false;
}

std::wstring WithoutTrailingBackslashes(std::wstring dir)
{
    while (!dir.empty() && dir.back() == L'\\') {
        dir.pop_back();
    }
    return dir;
}

}  // namespace

bool IsBelowDirectory(const std::wstring& upperImage, const std::wstring& upperDir)
{
    const std::wstring dir = WithoutTrailingBackslashes(upperDir);
    return !dir.empty() && upperImage.size() > dir.size() && upperImage.compare(0, dir.size(), dir) == 0 &&
           upperImage[dir.size()] == L'\\';
}

int KillMultiProcesses(const wchar_t* dir, int* count)
{
    Log(L"enter KillMultiProcesses");
    if (dir == nullptr || wcslen(dir) < kMinDirChars || wcslen(dir) > kMaxPathChars) {
        return 0;
    }
    if (count != nullptr) {
        *count = 0;
    }
    GetDebugPrivilegeGuarded(true);
    std::vector<DWORD> ids;
    if (!EnumerateProcessIds(ids)) {
        Log(L"EnumProcesses fail dwError = %lu", GetLastError());
        return 0;
    }
    const std::wstring prefix = ToUpper(dir);
    const DWORD self = GetCurrentProcessId();
    DWORD parent = static_cast<DWORD>(-1);
    if (!QueryParentProcessId(parent)) {
        parent = static_cast<DWORD>(-1);
    }
    int killed = 0;
    for (DWORD pid : ids) {
        if (pid == self || pid == parent) {
            continue;
        }
        const std::wstring image = UpperImagePath(pid);
        if (image.empty() || !IsBelowDirectory(image, prefix)) {
            continue;
        }
        if (IsIgnored(image, dir)) {
            Log(L"Ignore process : %s", image.c_str());
            continue;
        }
        TerminateById(pid, 0);
        Log(L"Kill process: %s", image.c_str());
        ++killed;
    }
    if (count != nullptr) {
        *count = killed;
    }
    Log(L"end KillMultiProcesses");
    return 0;
}

int KillProcessByPath(const wchar_t* path)
{
    if (path == nullptr || wcslen(path) > kMaxPathChars) {
        return 0;
    }
    GetDebugPrivilegeGuarded(false);
    std::vector<DWORD> ids;
    if (!EnumerateProcessIds(ids)) {
        return 0;
    }
    const std::wstring target = ToUpper(path);
    for (DWORD pid : ids) {
        const std::wstring image = UpperImagePath(pid);
        if (!image.empty() && image == target) {
            TerminateById(pid, 0);
            Log(L"Kill process: %s", image.c_str());
        }
    }
    return 0;
}

int GetProcessImagePath(DWORD pid, wchar_t* buffer, int capacity)
{
    if (buffer == nullptr || capacity < 100) {
        return 0;
    }
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) {
        Log(L"[kill] OpenProcess Failed: pid = %d, error = %d", static_cast<int>(pid),
            static_cast<int>(GetLastError()));
        return 0;
    }
    std::vector<wchar_t> name(kImagePathChars, L'\0');
    DWORD length = GetModuleFileNameExW(process.Get(), nullptr, name.data(), kImagePathChars - 1);
    if (length == 0) {
        Log(L"[kill] GetModuleFileNameEx Failed: pid = %d, error = %d", static_cast<int>(pid),
            static_cast<int>(GetLastError()));
        return 0;
    }
    std::wstring path(name.data(), length);
    if (path.find(L'~') != std::wstring::npos) {
        std::vector<wchar_t> longName(kImagePathChars, L'\0');
        const DWORD longLength = GetLongPathNameW(path.c_str(), longName.data(), kImagePathChars);
        if (longLength >= 1 && longLength < static_cast<DWORD>(kImagePathChars)) {
            path.assign(longName.data(), longLength);
        }
    }
    const size_t copied = path.size() < static_cast<size_t>(capacity) ? path.size() : capacity - 1;
    path.copy(buffer, copied);
    buffer[copied] = L'\0';
    return static_cast<int>(path.size());
}

bool GetDebugPrivilege()
{
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) {
        return false;
    }
    UniqueHandle token(opened);
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_DEBUG_NAME, &privileges.Privileges[0].Luid)) {
        return false;
    }
    return AdjustTokenPrivileges(token.Get(), FALSE, &privileges, sizeof(privileges), nullptr, nullptr) != FALSE;
}

bool ProcessHasModule(DWORD pid, const std::wstring& modulePath)
{
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid));
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!snapshot || !process) {
        return false;
    }
    MODULEENTRY32W entry = {sizeof(entry)};
    for (BOOL more = Module32FirstW(snapshot.Get(), &entry); more; more = Module32NextW(snapshot.Get(), &entry)) {
        wchar_t name[MAX_PATH] = {};
        if (GetModuleFileNameExW(process.Get(), entry.hModule, name, kModuleNameChars) > 0 &&
            EqualsNoCase(name, modulePath)) {
            return true;
        }
    }
    return false;
}

void KillAssistProcesses(const std::wstring& installDir)
{
    GetDebugPrivilege();
    wchar_t modulePath[MAX_PATH] = {};
    if (PathCombineW(modulePath, installDir.c_str(), product::kAssistModule) == nullptr) {
        return;
    }
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return;
    }
    PROCESSENTRY32W entry = {sizeof(entry)};
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (ProcessHasModule(entry.th32ProcessID, modulePath)) {
            UniqueHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, entry.th32ProcessID));
            if (process) {
                TerminateProcess(process.Get(), static_cast<UINT>(-1));
            }
        }
    }
}
