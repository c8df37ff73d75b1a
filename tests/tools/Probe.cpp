// Stands in for a program the uninstaller starts: records how it was started and what lay beside it.
// Appends to the UTF-16 journal named by PROBE_JOURNAL (default C:\probe-journal.txt):
//   cmdline=<command line>, exe=<own path>, file=<path relative to its folder> per file, then "done".
// Switches: --exit=N ends with code N; --sleep=MS waits first. When PROBE_RUN holds a command line,
// the probe first runs it and waits for it, so that the program sees the probe as its parent.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

void ListFiles(const std::wstring& root, const std::wstring& relative, std::wstring& out)
{
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((root + L"\\" + relative + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ListFiles(root, relative + name + L"\\", out);
        } else {
            out += L"file=" + relative + name + L"\n";
        }
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

std::wstring SwitchValue(const wchar_t* commandLine, const wchar_t* name)
{
    const wchar_t* at = wcsstr(commandLine, name);
    if (at == nullptr) {
        return std::wstring();
    }
    at += wcslen(name);
    const wchar_t* end = at;
    while (*end != L'\0' && *end != L' ') {
        ++end;
    }
    return std::wstring(at, end);
}

void RunRequestedCommand()
{
    wchar_t command[2048] = {};
    if (GetEnvironmentVariableW(L"PROBE_RUN", command, 2048) == 0) {
        return;
    }
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return;
    }
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const wchar_t* commandLine = GetCommandLineW();
    const std::wstring sleep = SwitchValue(commandLine, L"--sleep=");
    if (!sleep.empty()) {
        Sleep(static_cast<DWORD>(_wtoi(sleep.c_str())));
    }
    RunRequestedCommand();

    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir = exe;
    dir.resize(dir.find_last_of(L'\\'));

    std::wstring record = std::wstring(L"cmdline=") + commandLine + L"\nexe=" + exe + L"\n";
    ListFiles(dir, L"", record);
    record += L"done\n";

    wchar_t journal[MAX_PATH] = L"C:\\probe-journal.txt";
    GetEnvironmentVariableW(L"PROBE_JOURNAL", journal, MAX_PATH);
    HANDLE file = CreateFileW(journal, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written, nullptr);
        CloseHandle(file);
    }
    const std::wstring exitCode = SwitchValue(commandLine, L"--exit=");
    return exitCode.empty() ? 0 : _wtoi(exitCode.c_str());
}
