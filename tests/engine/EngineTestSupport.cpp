#include "EngineTestSupport.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/ScopedHandle.h"
#include "base/StringUtil.h"
#include "config/ResourceUnpack.h"
#include "startup/SmartLogger.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <sstream>

namespace enginetest {

namespace {

constexpr wchar_t kJournalVariable[] = L"KELVO_DEMO_JOURNAL";

// The host path Wine maps a Windows path to, or empty outside Wine.
std::string UnixPath(const std::wstring& path)
{
    using ToUnixFn = char*(CDECL*)(const wchar_t*);
    auto toUnix = reinterpret_cast<ToUnixFn>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
    if (toUnix == nullptr) {
        return std::string();
    }
    char* unix = toUnix(path.c_str());
    if (unix == nullptr) {
        return std::string();
    }
    const std::string text = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return text;
}

// symlink(2) of the 32-bit host kernel; 0 on success.
int HostSymlink(const char* target, const char* link)
{
    int result = 0;
    asm volatile("int $0x80" : "=a"(result) : "a"(83), "b"(target), "c"(link) : "memory");
    return result;
}

// What the program sets up before the engine runs: COM for the XML reader, and the log file.
class EngineEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        Logger().SetPath(wintest::LogPath());
    }
    void TearDown() override { CoUninitialize(); }
};

testing::Environment* const g_environment = testing::AddGlobalTestEnvironment(new EngineEnvironment);

}  // namespace

std::unique_ptr<CSetupConfig> LoadShippedConfig()
{
    if (!Load7z(wintest::BinFile(L"7z.dll"))) {
        return nullptr;
    }
    UniqueModule module(LoadLibraryExW(wintest::BinFile(L"Uninstall.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    auto config = std::make_unique<CSetupConfig>();
    if (!module || !config->InitConfig(module.Get(), 209, L"SETUPCONFIG", L"papyr.vtmprj")) {
        return nullptr;
    }
    return config;
}

bool MakeDirectoryLink(const std::wstring& link, const std::wstring& target)
{
    const std::string unixTarget = UnixPath(target);
    const std::string unixLink = UnixPath(link);
    if (unixTarget.empty() || unixLink.empty()) {
        return false;
    }
    return HostSymlink(unixTarget.c_str(), unixLink.c_str()) == 0 && DirectoryExists(link);
}

bool MapDrive(wchar_t letter, const std::wstring& dir)
{
    // Drive C: lives in the prefix's "dosdevices" folder as "c:", a link like the one made here.
    const std::string driveC = UnixPath(L"C:\\");
    const std::string target = UnixPath(dir);
    const size_t at = driveC.rfind("/c:");
    if (at == std::string::npos || target.empty()) {
        return false;
    }
    const std::string link = driveC.substr(0, at + 1) + static_cast<char>(towlower(letter)) + ":";
    const std::wstring root = std::wstring(1, letter) + L":\\";
    return HostSymlink(target.c_str(), link.c_str()) == 0 && DirectoryExists(root);
}

void SimulateRestart() { ASSERT_EQ(wintest::RunAndWait(L"C:\\windows\\system32\\wineboot.exe -r"), 0); }

std::wstring DemoFile(const std::wstring& name) { return wintest::BinFile(PathJoin(L"demo", name)); }

bool InstallDemoProduct(const std::wstring& dir)
{
    return wintest::RunAndWait(L"\"" + DemoFile(L"demo_install.exe") + L"\" \"/dir=" + dir + L"\"") == 0;
}

std::wstring UseFreshJournal()
{
    const std::wstring path = PathJoin(GetTempDirectory(), L"kelvo-journal.txt");
    DeleteFileW(path.c_str());
    SetEnvironmentVariableW(kJournalVariable, path.c_str());
    return path;
}

std::vector<std::wstring> ReadJournal()
{
    wchar_t path[MAX_PATH] = {};
    GetEnvironmentVariableW(kJournalVariable, path, MAX_PATH);
    const std::wstring text = FromUtf8(wintest::ReadFileBytes(path));
    std::vector<std::wstring> lines;
    std::wstringstream stream(text);
    std::wstring line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

UniqueHandle StartProgram(const std::wstring& path, const std::wstring& tail)
{
    std::wstring line = L"\"" + path + L"\" " + tail;
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return UniqueHandle();
    }
    CloseHandle(info.hThread);
    return UniqueHandle(info.hProcess);
}

bool WaitForJournalLine(const std::wstring& prefix, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        for (const std::wstring& line : ReadJournal()) {
            if (line.rfind(prefix, 0) == 0) {
                return true;
            }
        }
        Sleep(20);
    }
    return false;
}

bool IsRunning(const UniqueHandle& process)
{
    return process && WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

}  // namespace enginetest
