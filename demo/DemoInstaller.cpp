#include "demo/DemoInstaller.h"

#include "base/PathUtil.h"
#include "base/ScopedHandle.h"
#include "config/ProductConstants.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <fstream>
#include <utility>

namespace {

constexpr wchar_t kRootListFile[] = L"rootlist.txt";
constexpr wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\dovirad";
constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kMainRunValue[] = L"dovirad";
constexpr wchar_t kServiceRunValue[] = L"dovirad-srv";
constexpr wchar_t kDriverService[] = L"darovava";
constexpr wchar_t kDriverFile[] = L"darovava.sys";
constexpr wchar_t kVersion[] = L"1.2.1.8888";
constexpr wchar_t kDemoPid[] = L"demo01";
constexpr wchar_t kPlaceholderDirFile[] = L"demo.dat";

struct DemoServiceTraits {
    using Type = SC_HANDLE;
    static Type Invalid() { return nullptr; }
    static bool IsInvalid(Type h) { return h == nullptr; }
    static void Close(Type h) { CloseServiceHandle(h); }
};
using UniqueService = UniqueResource<DemoServiceTraits>;

bool SetString(HKEY root, const std::wstring& subKey, const wchar_t* name, const std::wstring& value)
{
    HKEY created = nullptr;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    UniqueHKey key(created);
    return RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring Today()
{
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    wchar_t text[32] = {};
    swprintf(text, 32, L"%04d-%02d-%02d", now.wYear, now.wMonth, now.wDay);
    return text;
}

std::wstring SpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path))
               ? path
               : L"";
}

bool CreateShortcut(const std::wstring& link, const std::wstring& target, int iconIndex)
{
    ComPtr<IShellLinkW> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                shellLink.PutVoid()))) {
        return false;
    }
    shellLink->SetPath(target.c_str());
    shellLink->SetWorkingDirectory(PathDirectory(target).c_str());
    shellLink->SetIconLocation(target.c_str(), iconIndex);
    ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.PutVoid()))) {
        return false;
    }
    CreateDirectoryTree(PathDirectory(link));
    return SUCCEEDED(file->Save(link.c_str(), TRUE));
}

void WritePlaceholder(const std::wstring& path, const std::wstring& name)
{
    CreateDirectoryTree(PathDirectory(path));
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << "kelvo demo placeholder: " << std::string(name.begin(), name.end()) << "\r\n";
}

}  // namespace

const std::vector<DemoInstaller::Component>& DemoInstaller::Components()
{
    static const std::vector<Component> components = {
        {L"dovirad.exe", L"dovirad.exe"},
        {L"kelvosrv.exe", L"kelvosrv.exe"},
        {L"Utils\\rundll.exe", L"rundll.exe"},
        {L"Utils\\rundll64.exe", L"rundll.exe"},
        {L"Utils\\kelvoshell32.dll", L"kelvohook.dll"},
        {L"Utils\\kelvoshell64.dll", L"kelvohook.dll"},
        {L"Utils\\kelvoreg.exe", L"kelvoprog.exe"},
        {L"Utils\\pageward.exe", L"kelvoprog.exe"},
        {L"Utils\\Assist.dll", L"kelvohook.dll"},
        {L"Utils\\vtmgamecenter_papyr.dll", L"kelvohook.dll"},
        {L"Utils\\vtmgamecenter_papyr.exe", L"kelvoprog.exe"},
        {L"lpi\\kelvolpi.dll", L"kelvohook.dll"},
        {L"wallpaperhelper\\Hardwix12.dll", L"kelvohook.dll"},
        {L"ZurIru\\ZurIru.exe", L"kelvoprog.exe"},
        {L"kelvoupdate.exe", L"kelvoprog.exe"},
        {L"kelvoguard.dll", L"kelvohook.dll"},
        {L"plugins\\kelvofilter.dll", L"kelvohook_unsigned.dll"},
        {L"plugins\\kelvorun.dll", L"kelvoiface.dll"},
        {L"plugins\\kelvorun.tpi", L"kelvoiface.dll"},
        {L"plugins\\kelvorun.exe", L"kelvoprog.exe"},
        {L"plugins\\kelvorun_unsigned.dll", L"kelvoiface_unsigned.dll"},
        {L"plugins\\kelvorun_regtest.dll", L"kelvoiface_unsigned.dll"},
    };
    return components;
}

const std::vector<DemoInstaller::HookValue>& DemoInstaller::FilePeValues()
{
    static const std::vector<HookValue> values = {
        {L"kelvoupdate.exe", L"pe-exe"},
        {L"kelvoguard.dll", L"pe-dll"},
        {L"plugins\\kelvofilter.dll", L"pe-unsigned"},
        {L"readme.txt", L"pe-text"},
    };
    return values;
}

const std::vector<DemoInstaller::HookValue>& DemoInstaller::RunListValues()
{
    static const std::vector<HookValue> values = {
        {L"plugins\\kelvorun.dll", L"run-dll"},
        {L"plugins\\kelvorun.tpi", L"run-tpi ret=57"},
        {L"plugins\\kelvorun.exe", L"run-exe"},
        {L"plugins\\kelvorun_unsigned.dll", L"run-unsigned"},
        {L"plugins\\kelvorun_regtest.dll", L"run-regtest /Regtest"},
    };
    return values;
}

const std::vector<const wchar_t*>& DemoInstaller::UserFiles()
{
    static const std::vector<const wchar_t*> files = {L"my wallpapers\\beach.jpg", L"notes.txt"};
    return files;
}

DemoInstaller::DemoInstaller(std::wstring sourceDir, std::wstring installDir)
    : sourceDir_(std::move(sourceDir)), installDir_(std::move(installDir))
{
}

bool DemoInstaller::Install()
{
    if (!CreateDirectoryTree(installDir_)) {
        fwprintf(stderr, L"cannot create %ls\n", installDir_.c_str());
        return false;
    }
    if (!CopyComponents() || !CopyUninstaller() || !WriteRootListPlaceholders()) {
        return false;
    }
    WriteUserFiles();
    WriteSettings();
    return WriteRegistry() && WriteUninstallEntry() && WriteRunValues() && CreateShortcuts() &&
           RegisterDriverService();
}

bool DemoInstaller::Copy(const std::wstring& from, const std::wstring& relativeTarget)
{
    const std::wstring target = PathJoin(installDir_, relativeTarget);
    CreateDirectoryTree(PathDirectory(target));
    if (!CopyFileW(from.c_str(), target.c_str(), FALSE)) {
        fwprintf(stderr, L"cannot copy %ls to %ls (error %lu)\n", from.c_str(), target.c_str(), GetLastError());
        return false;
    }
    installedFiles_.push_back(relativeTarget);
    return true;
}

bool DemoInstaller::CopyComponents()
{
    for (const Component& component : Components()) {
        if (!Copy(PathJoin(sourceDir_, component.source), component.target)) {
            return false;
        }
    }
    return true;
}

bool DemoInstaller::CopyUninstaller()
{
    const std::wstring buildDir = PathDirectory(sourceDir_);
    if (!Copy(PathJoin(buildDir, product::kUninstallerName), product::kUninstallerName) ||
        !Copy(PathJoin(buildDir, product::kWorkArchiveLibrary), product::kArchiveLibrary)) {
        return false;
    }
    const std::wstring httpLibrary = PathJoin(buildDir, product::kWorkHttpLibrary);
    return !FileExists(httpLibrary) || Copy(httpLibrary, product::kHttpLibrary);
}

// Every entry of the root-dir list that no component provides gets a placeholder, so that the
// installation has the product's whole top level.
bool DemoInstaller::WriteRootListPlaceholders()
{
    std::wifstream list(PathJoin(sourceDir_, kRootListFile).c_str());
    if (!list) {
        fwprintf(stderr, L"cannot read %ls\n", PathJoin(sourceDir_, kRootListFile).c_str());
        return false;
    }
    std::wstring line;
    while (std::getline(list, line)) {
        if (line.size() < 3) {
            continue;
        }
        const std::wstring name = line.substr(2);
        const std::wstring path = PathJoin(installDir_, name);
        if (line[0] == L'D') {
            CreateDirectoryTree(path);
            WritePlaceholder(PathJoin(path, kPlaceholderDirFile), name);
            installedFiles_.push_back(PathJoin(name, kPlaceholderDirFile));
        } else if (!PathExists(path)) {
            WritePlaceholder(path, name);
            installedFiles_.push_back(name);
        }
    }
    return true;
}

void DemoInstaller::WriteUserFiles()
{
    for (const wchar_t* file : UserFiles()) {
        WritePlaceholder(PathJoin(installDir_, file), file);
    }
}

void DemoInstaller::WriteSettings()
{
    WritePrivateProfileStringW(product::kAutoRunSection, product::kAutoRunKey, L"1",
                               PathJoin(installDir_, product::kSettingsFile).c_str());
}

bool DemoInstaller::WriteRegistry()
{
    const std::wstring appPaths = product::kAppPathsKey;
    bool written = SetString(HKEY_LOCAL_MACHINE, appPaths, nullptr, PathJoin(installDir_, product::kDefaultMainExe)) &&
                   SetString(HKEY_LOCAL_MACHINE, appPaths, product::kInstallDirValue, installDir_) &&
                   SetString(HKEY_LOCAL_MACHINE, appPaths, product::kInstallDateValue, Today()) &&
                   SetString(HKEY_CURRENT_USER, product::kProductKey, product::kPidValue, kDemoPid);
    for (const std::wstring& file : installedFiles_) {
        written = written && SetString(HKEY_LOCAL_MACHINE, PathJoin(appPaths, product::kFileListSubKey), file.c_str(), L"");
    }
    for (const HookValue& value : FilePeValues()) {
        written = written && SetString(HKEY_LOCAL_MACHINE, PathJoin(appPaths, product::kFilePeSubKey), value.file, value.data);
    }
    for (const HookValue& value : RunListValues()) {
        written = written && SetString(HKEY_LOCAL_MACHINE, PathJoin(appPaths, product::kRunListSubKey), value.file, value.data);
    }
    if (!written) {
        fwprintf(stderr, L"cannot write the product's registry values\n");
    }
    return written;
}

bool DemoInstaller::WriteUninstallEntry()
{
    const std::wstring uninstaller = PathJoin(installDir_, product::kUninstallerName);
    return SetString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName", product::kDefaultProductName) &&
           SetString(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString", Quoted(uninstaller)) &&
           SetString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayIcon", uninstaller) &&
           SetString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion", kVersion) &&
           SetString(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher", product::kDefaultCompany) &&
           SetString(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation", installDir_);
}

bool DemoInstaller::WriteRunValues()
{
    const std::wstring service = Quoted(PathJoin(installDir_, product::kServiceProgram)) + L" /autorun";
    return SetString(HKEY_LOCAL_MACHINE, kRunKey, kMainRunValue,
                     Quoted(PathJoin(installDir_, product::kDefaultMainExe)) + L" /autorun") &&
           SetString(HKEY_LOCAL_MACHINE, kRunKey, kServiceRunValue, service) &&
           SetString(HKEY_CURRENT_USER, kRunKey, kServiceRunValue, service);
}

bool DemoInstaller::CreateShortcuts()
{
    const std::wstring name = product::kDefaultProductName;
    const std::wstring mainProgram = PathJoin(installDir_, product::kDefaultMainExe);
    const std::wstring programs = PathJoin(SpecialFolder(CSIDL_COMMON_PROGRAMS), name);
    const bool created =
        CreateShortcut(PathJoin(SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY), name + L".lnk"), mainProgram, 1) &&
        CreateShortcut(PathJoin(programs, name + L".lnk"), mainProgram, 1) &&
        CreateShortcut(PathJoin(programs, L"卸载" + name + L".lnk"), PathJoin(installDir_, product::kUninstallerName), 0);
    if (!created) {
        fwprintf(stderr, L"cannot create the shortcuts\n");
    }
    return created;
}

bool DemoInstaller::RegisterDriverService()
{
    const std::wstring builtDriver = PathJoin(sourceDir_, kDriverFile);
    if (FileExists(builtDriver) && !Copy(builtDriver, kDriverFile)) {
        return false;
    }
    UniqueService manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager) {
        fwprintf(stderr, L"cannot open the service manager (error %lu)\n", GetLastError());
        return false;
    }
    const std::wstring image = PathJoin(installDir_, kDriverFile);
    UniqueService service(CreateServiceW(
        manager.Get(), kDriverService, kDriverService, SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START,
        SERVICE_ERROR_NORMAL, image.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
    if (!service && GetLastError() != ERROR_SERVICE_EXISTS) {
        fwprintf(stderr, L"cannot register the service %ls (error %lu)\n", kDriverService, GetLastError());
        return false;
    }
    return true;
}
