#include "config/SetupConfig.h"

#include "base/PathUtil.h"
#include "config/ResourceUnpack.h"
#include "config/XMLArchive.h"
#include "sysinfo/OSVersionCheck.h"

#include <cwchar>
#include <initializer_list>

namespace {

constexpr size_t kMaxProjectPath = 512;
constexpr size_t kMaxProjectDir = 1024;
// A record's text fields hold at most this many characters.
constexpr size_t kMaxField = MAX_PATH - 1;
constexpr size_t kMaxWindowClass = 195;

constexpr DWORD kDefaultMessage = WM_CLOSE;
constexpr long kDefaultCloseParam = 360;
constexpr long kDefaultCloseTimeout = 2000;
constexpr long kDefaultHookWait = 0;
constexpr long kDefaultHookSync = 1;

HKEY RootFromName(const std::wstring& name)
{
    const struct {
        const wchar_t* name;
        HKEY root;
    } roots[] = {{L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                 {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                 {L"HKEY_USERS", HKEY_USERS},
                 {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
                 {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}};
    for (const auto& root : roots) {
        if (_wcsicmp(name.c_str(), root.name) == 0) {
            return root.root;
        }
    }
    return HKEY_LOCAL_MACHINE;
}

DWORD MessageFromName(const std::wstring& name)
{
    if (name == L"WM_QUIT") {
        return WM_QUIT;
    }
    if (name == L"WM_COMMAND") {
        return WM_COMMAND;
    }
    return kDefaultMessage;
}

std::wstring Text(const CXMLArchiveItem& item, const wchar_t* name)
{
    std::wstring value;
    CXMLArchive::GetAttributeString(item, name, value, L"");
    return value;
}

long Number(const CXMLArchiveItem& item, const wchar_t* name, long defaultValue)
{
    long value = defaultValue;
    CXMLArchive::GetAttributeInt(item, name, value, defaultValue);
    return value;
}

// Copies a text that is known to fit.
template <size_t N>
void CopyField(wchar_t (&field)[N], const std::wstring& text)
{
    wcsncpy(field, text.c_str(), N - 1);
    field[N - 1] = L'\0';
}

bool AllFit(std::initializer_list<const std::wstring*> texts)
{
    for (const std::wstring* text : texts) {
        if (text->size() > kMaxField) {
            return false;
        }
    }
    return true;
}

// Every element of a path, in document order, until one cannot be obtained.
template <class Visit>
void ForEachElement(const CXMLArchive& document, const wchar_t* path, Visit visit)
{
    const CXMLArchiveItemList items = document.GetItems(path);
    for (long i = 0; i < items.GetCount(); ++i) {
        const CXMLArchiveItem item = items.Item(i);
        if (!item.IsValid()) {
            return;
        }
        visit(item);
    }
}

bool CopyString(const std::wstring& value, wchar_t* buffer, int size)
{
    if (buffer == nullptr || size <= 0) {
        return false;
    }
    buffer[0] = L'\0';
    if (value.size() >= static_cast<size_t>(size)) {
        return false;
    }
    wcscpy(buffer, value.c_str());
    return true;
}

template <class Record>
bool CopyRecord(const std::vector<Record>& list, int index, Record* record)
{
    if (record == nullptr) {
        return false;
    }
    *record = Record{};
    if (index < 0 || static_cast<size_t>(index) >= list.size()) {
        return false;
    }
    *record = list[index];
    return true;
}

}  // namespace

CSetupConfig::~CSetupConfig()
{
    if (!extractionDir_.empty()) {
        RemoveExtractedTree(extractionDir_);
    }
}

void CSetupConfig::Release() { delete this; }

bool CSetupConfig::InitConfig(HINSTANCE module, int resourceId, const wchar_t* resourceType,
                              const wchar_t* projectFile)
{
    CResourceUnpack unpack;
    std::wstring dir;
    if (!unpack.Init(module, resourceId, resourceType) || !unpack.Unpack(dir)) {
        return false;
    }
    extractionDir_ = dir;
    return Load(PathJoin(dir, projectFile != nullptr ? projectFile : L""));
}

bool CSetupConfig::Load(const std::wstring& projectFile)
{
    if (projectFile.empty() || projectFile.size() >= kMaxProjectPath || !FileExists(projectFile)) {
        return false;
    }
    std::wstring projectDir = PathDirectory(projectFile);
    if (projectDir.size() >= kMaxProjectDir) {
        return false;
    }
    CXMLArchive document;
    if (FAILED(document.Open(projectFile, false))) {
        return false;
    }
    ReadMain(document, projectDir);
    if (!FileExists(rootListPath_)) {
        return false;
    }
    rootDirList_.Load(rootListPath_.c_str());
    ReadRegistry(document);
    ReadClosePrograms(document);
    ReadUnregisterItems(document);
    ReadUninstallHooks(document);
    return true;
}

void CSetupConfig::ReadMain(const CXMLArchive& document, const std::wstring& projectDir)
{
    const CXMLArchiveItem main = document.GetItem(L"Setup/Main");
    if (!main.IsValid()) {
        return;
    }
    version_ = Text(main, L"Version");
    minimizeSpace_ = static_cast<int>(Number(main, L"MinimizeSpace", 100));

    std::wstring file;
    if (CXMLArchive::GetAttributeString(document.GetItem(L"Setup/UninstallRootDirFileList"), L"File", file)) {
        rootListPath_ = PathJoin(projectDir, file);
    }
    const CXMLArchiveItem fileList = document.GetItem(L"Setup/FileList");
    fileCount_ = static_cast<int>(Number(fileList, L"FileCount", 200));
    if (CXMLArchive::GetAttributeString(fileList, L"File", file)) {
        fileListPath_ = PathJoin(projectDir, file);
    }
}

void CSetupConfig::ReadRegistry(const CXMLArchive& document)
{
    const CXMLArchiveItem registry = document.GetItem(L"Setup/RegAppPath");
    registryRoot_ = RootFromName(Text(registry, L"HKEY"));
    registrySubKey_ = Text(registry, L"SubKey");
    registryValue_ = Text(registry, L"Value");
    mainApp_ = Text(document.GetItem(L"Setup/Application"), L"MainApp");
}

void CSetupConfig::ReadClosePrograms(const CXMLArchive& document)
{
    closePrograms_.clear();
    ForEachElement(document, L"Setup/CloseAllPrograms/Program", [this](const CXMLArchiveItem& item) {
        const std::wstring windowClass = Text(item, L"WindowClass");
        if (windowClass.size() > kMaxWindowClass) {
            return;
        }
        CloseProgramRecord record{};
        CopyField(record.windowClass, windowClass);
        record.message = MessageFromName(Text(item, L"Message"));
        record.wParam = static_cast<DWORD>(Number(item, L"WPARAM", kDefaultCloseParam));
        record.lParam = static_cast<DWORD>(Number(item, L"LPARAM", kDefaultCloseParam));
        record.timeout = static_cast<DWORD>(Number(item, L"Timeout", kDefaultCloseTimeout));
        closePrograms_.push_back(record);
    });
}

void CSetupConfig::ReadUnregisterItems(const CXMLArchive& document)
{
    unregisterList_.clear();
    const std::wstring bitness = Is64BitOS() ? L"64" : L"32";
    ForEachElement(document, L"Setup/RundllUnRegisterOnUnInst/Item", [&](const CXMLArchiveItem& item) {
        const std::wstring fileName = Text(item, L"FileName");
        const std::wstring entry = Text(item, L"Entry");
        const std::wstring commandLine = Text(item, L"Cmdline");
        if (Text(item, L"System") != bitness || !AllFit({&fileName, &entry, &commandLine})) {
            return;
        }
        UnregisterRecord record{};
        CopyField(record.fileName, fileName);
        CopyField(record.entry, entry);
        CopyField(record.commandLine, commandLine);
        record.waitTime = static_cast<DWORD>(Number(item, L"WaitTime", kDefaultHookWait));
        unregisterList_.push_back(record);
    });
}

void CSetupConfig::ReadUninstallHooks(const CXMLArchive& document)
{
    uninstallHooks_.clear();
    ForEachElement(document, L"Setup/CallProgramOnUninst/Program", [this](const CXMLArchiveItem& item) {
        const std::wstring fields[] = {Text(item, L"FileName"), Text(item, L"Type"),    Text(item, L"FuncName"),
                                       Text(item, L"Para"),     Text(item, L"Cmdline"), Text(item, L"SignType")};
        if (!AllFit({&fields[0], &fields[1], &fields[2], &fields[3], &fields[4], &fields[5]})) {
            return;
        }
        UninstallHookRecord record{};
        CopyField(record.fileName, fields[0]);
        CopyField(record.type, fields[1]);
        CopyField(record.functionName, fields[2]);
        CopyField(record.parameter, fields[3]);
        CopyField(record.commandLine, fields[4]);
        CopyField(record.signType, fields[5]);
        record.waitTime = static_cast<DWORD>(Number(item, L"WaitTime", kDefaultHookWait));
        record.synchronous = static_cast<DWORD>(Number(item, L"Sync", kDefaultHookSync));
        uninstallHooks_.push_back(record);
    });
}

int CSetupConfig::GetMinimizeSpace() { return minimizeSpace_; }

IUninstallRootDirList* CSetupConfig::GetRootDirList() { return &rootDirList_; }

bool CSetupConfig::GetVersion(wchar_t* buffer, int size) { return CopyString(version_, buffer, size); }

bool CSetupConfig::GetMainApp(wchar_t* buffer, int size) { return CopyString(mainApp_, buffer, size); }

HKEY CSetupConfig::GetRegAppPathRoot() { return registryRoot_; }

bool CSetupConfig::GetRegAppPathSubKey(wchar_t* buffer, int size) { return CopyString(registrySubKey_, buffer, size); }

bool CSetupConfig::GetRegAppPathValue(wchar_t* buffer, int size) { return CopyString(registryValue_, buffer, size); }

int CSetupConfig::GetCloseProgramCount() { return static_cast<int>(closePrograms_.size()); }

bool CSetupConfig::GetCloseProgram(int index, CloseProgramRecord* record)
{
    return CopyRecord(closePrograms_, index, record);
}

bool CSetupConfig::GetCheckFile(int index, wchar_t* buffer, int size)
{
    if (index < 0 || static_cast<size_t>(index) >= checkFiles_.size()) {
        if (buffer != nullptr && size > 0) {
            buffer[0] = L'\0';
        }
        return false;
    }
    return CopyString(checkFiles_[index], buffer, size);
}

int CSetupConfig::GetCheckFileCount() { return static_cast<int>(checkFiles_.size()); }

bool CSetupConfig::GetInstallHook(int index, UninstallHookRecord* record)
{
    return CopyRecord(installHooks_, index, record);
}

int CSetupConfig::GetInstallHookCount() { return static_cast<int>(installHooks_.size()); }

bool CSetupConfig::GetUninstallHook(int index, UninstallHookRecord* record)
{
    return CopyRecord(uninstallHooks_, index, record);
}

int CSetupConfig::GetUninstallHookCount() { return static_cast<int>(uninstallHooks_.size()); }

int CSetupConfig::GetFileCount() { return fileCount_; }
