#include "support/WineTestSupport.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/ScopedHandle.h"
#include "config/ProductConstants.h"

#include <gtest/gtest.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace wintest {

namespace {

void DeleteTreeOf(const std::wstring& dir)
{
    ForEachDirectoryEntry(dir, [&dir](const std::wstring& name, DWORD attributes) {
        const std::wstring path = PathJoin(dir, name);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            DeleteTreeOf(path);
        } else {
            DeleteFileW(path.c_str());
        }
    });
    RemoveDirectoryW(dir.c_str());
}

void ListInto(const std::wstring& root, const std::wstring& relative, std::vector<std::wstring>& out)
{
    ForEachDirectoryEntry(PathJoin(root, relative), [&](const std::wstring& name, DWORD attributes) {
        const std::wstring child = relative.empty() ? name : relative + L"\\" + name;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            ListInto(root, child, out);
        } else {
            out.push_back(child);
        }
    });
}

std::wstring ProcessImage(DWORD pid)
{
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) {
        return std::wstring();
    }
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    return QueryFullProcessImageNameW(process.Get(), 0, path, &size) ? std::wstring(path, size) : std::wstring();
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix)
{
    return text.size() >= prefix.size() && _wcsnicmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM param)
{
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (_wcsicmp(className, L"Static") == 0) {
        const std::wstring text = WindowText(child);
        if (!text.empty()) {
            *reinterpret_cast<std::wstring*>(param) += text;
        }
    }
    return TRUE;
}

struct Dialogs {
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM param)
{
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId() && IsWindowVisible(window) && wcscmp(className, L"#32770") == 0) {
        reinterpret_cast<Dialogs*>(param)->windows.push_back(window);
    }
    return TRUE;
}

}  // namespace

std::wstring BinDir()
{
    wchar_t dir[MAX_PATH] = {};
    GetEnvironmentVariableW(L"UNINST_BIN_DIR_WIN", dir, MAX_PATH);
    return dir;
}

std::wstring BinFile(const std::wstring& name) { return PathJoin(BinDir(), name); }

void RemoveTree(const std::wstring& dir) { DeleteTreeOf(dir); }

std::wstring MakeScratchDir(const std::wstring& name)
{
    const std::wstring dir = PathJoin(GetTempDirectory(), L"test-" + name);
    DeleteTreeOf(dir);
    CreateDirectoryTree(dir);
    return dir;
}

void WriteTextFile(const std::wstring& path, const std::string& bytes)
{
    CreateDirectoryTree(PathDirectory(path));
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CopyOrFail(const std::wstring& from, const std::wstring& to)
{
    CreateDirectoryTree(PathDirectory(to));
    ASSERT_TRUE(CopyFileW(from.c_str(), to.c_str(), FALSE)) << "copy failed: " << testing::PrintToString(from);
}

std::vector<std::wstring> ListFilesBelow(const std::wstring& dir)
{
    std::vector<std::wstring> files;
    ListInto(dir, L"", files);
    std::sort(files.begin(), files.end());
    return files;
}

int RunAndWait(const std::wstring& commandLine, DWORD timeoutMs)
{
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION info = {};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return -1;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    return static_cast<int>(code);
}

bool WaitForProcessesUnder(const std::wstring& dir, DWORD timeoutMs)
{
    const DWORD deadline = GetTickCount() + timeoutMs;
    const std::wstring prefix = PathJoin(dir, L"");
    for (;;) {
        std::vector<UniqueHandle> running;
        UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32W entry = {sizeof(entry)};
        for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
            if (entry.th32ProcessID != GetCurrentProcessId() &&
                StartsWithNoCase(ProcessImage(entry.th32ProcessID), prefix)) {
                running.emplace_back(OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID));
            }
        }
        if (running.empty()) {
            return true;
        }
        for (const UniqueHandle& process : running) {
            const DWORD now = GetTickCount();
            if (static_cast<LONG>(deadline - now) <= 0) {
                return false;
            }
            if (process) {
                WaitForSingleObject(process.Get(), deadline - now);
            }
        }
    }
}

DialogWatcher::DialogWatcher() : thread_([this] { Run(); }) {}

DialogWatcher::~DialogWatcher()
{
    stop_ = true;
    thread_.join();
}

std::vector<std::wstring> DialogWatcher::Texts()
{
    std::lock_guard<std::mutex> guard(lock_);
    return texts_;
}

void DialogWatcher::Run()
{
    std::vector<HWND> answered;
    while (!stop_) {
        Dialogs dialogs;
        EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
        for (HWND dialog : dialogs.windows) {
            if (std::find(answered.begin(), answered.end(), dialog) != answered.end()) {
                continue;
            }
            std::wstring text;
            EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&text));
            // The program's own drawn box has no child windows: its window text is the message, and
            // "No" is tried before "OK" since its buttons cannot be seen.
            const bool drawn = GetWindow(dialog, GW_CHILD) == nullptr;
            if (drawn) {
                text = WindowText(dialog);
            }
            {
                std::lock_guard<std::mutex> guard(lock_);
                texts_.push_back(text);
            }
            if (drawn || GetDlgItem(dialog, IDNO) != nullptr) {
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
            }
            if (drawn || GetDlgItem(dialog, IDNO) == nullptr) {
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
            answered.push_back(dialog);
        }
        Sleep(50);
    }
}

std::wstring LogPath() { return PathJoin(GetTempDirectory(), product::kLogFileName); }

std::wstring ReadLogText()
{
    const std::string bytes = ReadFileBytes(LogPath());
    if (bytes.empty()) {
        return std::wstring();
    }
    const int size = MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(size, L'\0');
    MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], size);
    return text;
}

void SetInstallDirValue(const std::wstring& dir)
{
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, product::kAppPathsKey, 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    UniqueHKey key(created);
    ASSERT_EQ(RegSetValueExW(key.Get(), product::kInstallDirValue, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(dir.c_str()),
                             static_cast<DWORD>((dir.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void DeleteInstallDirValue()
{
    RegDeleteValueOf(HKEY_LOCAL_MACHINE, product::kAppPathsKey, product::kInstallDirValue, KEY_WOW64_32KEY);
}

std::wstring ReadInstallDirValueRaw(DWORD& type, DWORD& bytes)
{
    UniqueHKey key = OpenRegKey(HKEY_LOCAL_MACHINE, product::kAppPathsKey, KEY_QUERY_VALUE | KEY_WOW64_32KEY);
    if (!key) {
        return std::wstring();
    }
    wchar_t data[1024] = {};
    bytes = sizeof(data) - sizeof(wchar_t);
    if (RegQueryValueExW(key.Get(), product::kInstallDirValue, nullptr, &type, reinterpret_cast<BYTE*>(data),
                         &bytes) != ERROR_SUCCESS) {
        return std::wstring();
    }
    return std::wstring(data, bytes / sizeof(wchar_t));
}

std::vector<std::wstring> PendingDeletions()
{
    std::vector<std::wstring> pending;
    UniqueHKey key = OpenRegKey(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                                KEY_QUERY_VALUE);
    DWORD bytes = 0;
    if (!key || RegQueryValueExW(key.Get(), L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &bytes) !=
                    ERROR_SUCCESS) {
        return pending;
    }
    std::wstring data(bytes / sizeof(wchar_t) + 2, L'\0');
    RegQueryValueExW(key.Get(), L"PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]),
                     &bytes);
    for (size_t at = 0; at < data.size() && data[at] != L'\0';) {
        const std::wstring source = data.c_str() + at;
        at += source.size() + 1;
        const std::wstring target = data.c_str() + at;
        at += target.size() + 1;
        if (target.empty()) {
            // Entries are stored in the native "\??\C:\..." form.
            pending.push_back(source.rfind(L"\\??\\", 0) == 0 ? source.substr(4) : source);
        }
    }
    return pending;
}

bool IsScheduledForDeletion(const std::wstring& path)
{
    for (const std::wstring& pending : PendingDeletions()) {
        if (_wcsicmp(pending.c_str(), path.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace wintest
