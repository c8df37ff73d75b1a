#include "demo/DemoJournal.h"

#include <shlobj.h>

#include <string>
#include <vector>

namespace {

constexpr wchar_t kJournalVariable[] = L"KELVO_DEMO_JOURNAL";
constexpr wchar_t kJournalDir[] = L"\\KelvoDemo";
constexpr wchar_t kJournalFile[] = L"\\journal.txt";
constexpr wchar_t kJournalMutex[] = L"KelvoDemoJournal";
constexpr DWORD kLockWaitMs = 10000;

std::string ToUtf8Text(const std::wstring& text)
{
    if (text.empty()) {
        return std::string();
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    return bytes;
}

}  // namespace

std::wstring DemoJournalPath()
{
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableW(kJournalVariable, path, MAX_PATH * 2);
    if (length > 0 && length < MAX_PATH * 2) {
        return path;
    }
    wchar_t common[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common))) {
        return std::wstring();
    }
    const std::wstring dir = std::wstring(common) + kJournalDir;
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir + kJournalFile;
}

void AppendJournal(const std::wstring& component, const std::wstring& entry, const std::wstring& argument)
{
    const std::wstring path = DemoJournalPath();
    if (path.empty()) {
        return;
    }
    const std::string line = ToUtf8Text(component + L"\t" + entry + L"\t" + argument + L"\r\n");
    HANDLE lock = CreateMutexW(nullptr, FALSE, kJournalMutex);
    if (lock != nullptr) {
        WaitForSingleObject(lock, kLockWaitMs);
    }
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
    }
    if (lock != nullptr) {
        ReleaseMutex(lock);
        CloseHandle(lock);
    }
}

std::wstring ModuleFileName(HMODULE module)
{
    std::vector<wchar_t> buffer(MAX_PATH * 4, L'\0');
    const DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    const std::wstring path(buffer.data(), length);
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}
