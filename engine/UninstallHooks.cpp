#include "engine/UninstallHooks.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/ScopedHandle.h"
#include "base/StringUtil.h"
#include "config/ProductConstants.h"
#include "engine/BatchWriter.h"
#include "engine/DllCall.h"
#include "engine/ProcessKiller.h"
#include "engine/RunProgram.h"
#include "startup/SmartLogger.h"
#include "sysinfo/OSVersionCheck.h"
#include "trust/SignatureCheck.h"

#include <shlwapi.h>

#include <functional>
#include <vector>

namespace {

constexpr DWORD kMaxHookWaitMs = 50000;
constexpr DWORD kRunListWaitMs = 60000;
constexpr DWORD kFilePeWaitMs = 50000;
constexpr DWORD kHomepageGuardWaitMs = 5000;
constexpr DWORD kGameCentreWaitMs = 3000;
constexpr DWORD kValueNameChars = MAX_PATH;
constexpr DWORD kRunListDataBytes = 260;
constexpr DWORD kFilePeDataBytes = 4096;
constexpr size_t kGuardCommandChars = 2047;
constexpr char kHookExport[] = "Uninst";
constexpr char kGameCentreExport[] = "Start4RunDll";
constexpr wchar_t kRegtestSwitch[] = L"/Regtest";
constexpr wchar_t kFilePeSwitches[] = L" /uninstall /product=papyr";

using GameCentreExport = int(WINAPI*)(const wchar_t*);
using HookValueVisitor = std::function<void(const std::wstring& name, const std::wstring& data)>;

// Visits each value of an App Paths subkey (full access) with its name and its string data of at
// most dataBytes bytes; values whose data cannot be read are skipped.
void ForEachHookValue(const wchar_t* subKeyName, DWORD dataBytes, const HookValueVisitor& visit)
{
    UniqueHKey key = OpenRegKey(HKEY_LOCAL_MACHINE, PathJoin(product::kAppPathsKey, subKeyName), KEY_ALL_ACCESS);
    if (!key) {
        return;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[kValueNameChars] = {};
        DWORD nameChars = kValueNameChars;
        std::vector<BYTE> data(dataBytes + sizeof(wchar_t), 0);
        DWORD bytes = dataBytes;
        const LONG result = RegEnumValueW(key.Get(), index, name, &nameChars, nullptr, nullptr, data.data(), &bytes);
        if (result == ERROR_NO_MORE_ITEMS) {
            return;
        }
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) {
            return;
        }
        if (result == ERROR_MORE_DATA) {
            continue;
        }
        visit(name, std::wstring(reinterpret_cast<const wchar_t*>(data.data())));
    }
}

bool HasExtension(const std::wstring& path, const wchar_t* extension)
{
    return _wcsicmp(PathFindExtensionW(path.c_str()), extension) == 0;
}

void RunUninstallEntry(const UninstallHookRecord& entry, const std::wstring& installDir)
{
    const std::wstring path = PathJoin(installDir, entry.fileName);
    if (!PathExists(path)) {
        Log(L"file[%s] is not exist", path.c_str());
        return;
    }
    const bool signedOk = entry.signType[0] == L'\0' ? VerifyMakerSignature(path.c_str())
                                                     : VerifySignerName(path.c_str(), entry.signType);
    if (!signedOk) {
        Log(L"check sign fail, signType[%s], filepath[%s]", entry.signType, path.c_str());
        return;
    }
    if (_wcsicmp(entry.type, L"exe") == 0) {
        const DWORD wait = entry.waitTime == 0 || entry.waitTime > kMaxHookWaitMs ? kMaxHookWaitMs : entry.waitTime;
        CallExe(path, entry.commandLine, false, entry.synchronous != 0, wait);
    } else if (_wcsicmp(entry.type, L"dll") == 0) {
        CallDllExport(path, ToAnsiPath(entry.functionName).c_str(), entry.parameter, false);
    }
}

void RunRunListEntry(const std::wstring& path, const std::wstring& parameter)
{
    const bool regtest = parameter.find(kRegtestSwitch) != std::wstring::npos;
    if (regtest) {
        Log(L"Regtest, no need to check sign.");
    }
    const bool verify = !regtest;
    Log(L"file extension:%s", PathFindExtensionW(path.c_str()));
    if (HasExtension(path, L".DLL") || HasExtension(path, L".TPI")) {
        const std::wstring text = CallDllInterfaceEx(path.c_str(), kHookExport, parameter, verify);
        Log(L"CallDllInterfaceEx return value=%s", text.c_str());
        return;
    }
    if (!HasExtension(path, L".EXE")) {
        return;
    }
    std::wstring codeWord;
    std::wstring pid;
    ProductCodeAndPid(GetModuleDirectory(), codeWord, pid);
    const std::wstring commandLine =
        FormatString(L"%s --PRODUCT=%s --PID=%s", parameter.c_str(), codeWord.c_str(), pid.c_str());
    KillProcessByPath(path.c_str());
    Log(L"call exe begin, path=[%s] ,cmd=[%s]", path.c_str(), commandLine.c_str());
    const bool started =
        RunProgram(path.c_str(), commandLine.c_str(), SW_SHOWNORMAL, verify, true, nullptr, kRunListWaitMs);
    Log(L"call exe return [%d], path=[%s], cmd=[%s], sync[%d]", started ? 1 : 0, path.c_str(), commandLine.c_str(), 1);
}

void RunFilePeEntry(const std::wstring& path, const std::wstring& data)
{
    if (HasExtension(path, L".dll")) {
        CallDllExport(path, kHookExport, data, true);
    } else if (HasExtension(path, L".exe")) {
        CallExe(path, data + kFilePeSwitches, true, true, kFilePeWaitMs);
    }
}

}  // namespace

bool RunUninstallProgramEntries(const CSetupConfig& config, const std::wstring& installDir)
{
    for (const UninstallHookRecord& entry : config.UninstallHookList()) {
        RunUninstallEntry(entry, installDir);
    }
    return true;
}

bool RunRundllEntries(const CSetupConfig& config, const std::wstring& installDir)
{
    const std::wstring launcher =
        PathJoin(installDir, Is64BitOS() ? product::kRundllLauncher64 : product::kRundllLauncher32);
    if (!VerifyMakerSignature(launcher.c_str())) {
        return false;
    }
    for (const UnregisterRecord& entry : config.UnregisterList()) {
        const std::wstring dll = PathJoin(installDir, entry.fileName);
        if (!PathExists(dll)) {
            Log(L"file[%s] is not exist", dll.c_str());
            continue;
        }
        const std::wstring commandLine =
            FormatString(L"--dll=\"%s\" --entry=%s %s", dll.c_str(), entry.entry, entry.commandLine);
        CallExe(launcher, commandLine, false, true, entry.waitTime);
    }
    return true;
}

void RunRunListHooks(const std::wstring& installDir)
{
    if (installDir.empty() || !DirectoryExists(installDir)) {
        return;
    }
    ForEachHookValue(product::kRunListSubKey, kRunListDataBytes,
                     [&](const std::wstring& name, const std::wstring& data) {
                         const std::wstring path = PathJoin(installDir, name);
                         if (PathExists(path)) {
                             RunRunListEntry(path, data);
                         }
                     });
}

void RunFilePeHooks(const std::wstring& installDir)
{
    if (installDir.empty() || !DirectoryExists(installDir)) {
        return;
    }
    ForEachHookValue(product::kFilePeSubKey, kFilePeDataBytes, [&](const std::wstring& name, const std::wstring& data) {
        const std::wstring path = PathJoin(installDir, name);
        if (PathExists(path)) {
            RunFilePeEntry(path, data);
        }
    });
}

void RunHardwixHook(const std::wstring& installDir)
{
    CallDllExport(PathJoin(installDir, product::kHardwixDll), kHookExport, std::wstring(), true);
}

void RunHomepageGuard(const std::wstring& installDir)
{
    const std::wstring program = PathJoin(installDir, product::kHomepageGuard);
    if (!VerifyMakerSignature(program.c_str())) {
        return;
    }
    std::wstring commandLine = FormatString(L"\"%s\" %s /LockHomePagePath=\"%s\" /Pid=pemo", program.c_str(),
                                            L"/UnInstallDesk", program.c_str());
    if (commandLine.size() > kGuardCommandChars) {
        commandLine.resize(kGuardCommandChars);
    }
    STARTUPINFOW startup = {sizeof(startup)};
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (WaitForSingleObject(process.Get(), kHomepageGuardWaitMs) == WAIT_TIMEOUT) {
        Log(L"等待进程退出超时");
    }
}

bool RunGameCentreHook(const std::wstring& installDir, bool uninstallGameCentre)
{
    const std::wstring command = std::wstring(L"/S /PID=papyr") + (uninstallGameCentre ? L" /UNINSTALL" : L" /NOUNINSTALL");
    const std::wstring dll = PathJoin(installDir, product::kGameCentreDll);
    if (VerifyMakerSignature(dll.c_str())) {
        UniqueModule module(LoadLibraryExW(dll.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
        auto start = module ? reinterpret_cast<GameCentreExport>(GetProcAddress(module.Get(), kGameCentreExport))
                            : nullptr;
        if (start != nullptr) {
            start(command.c_str());
            return true;
        }
    }
    const std::wstring program = PathJoin(installDir, product::kGameCentreExe);
    RunProgram(program.c_str(), command.c_str(), SW_SHOWNORMAL, true, true, nullptr, kGameCentreWaitMs);
    Log(L"Call exe:%s,param:%s", program.c_str(), command.c_str());
    return true;
}

void ProductCodeAndPid(const std::wstring& programDir, std::wstring& codeWord, std::wstring& pid)
{
    codeWord.clear();
    pid.clear();
    if (!FileExists(PathJoin(programDir, product::kDefaultMainExe))) {
        return;
    }
    codeWord = product::kRunListProductWord;
    pid = RegReadString(HKEY_CURRENT_USER, product::kProductKey, product::kPidValue).value_or(std::wstring());
}
