#include "startup/CallerCheck.h"

#include "base/Registry.h"
#include "base/ScopedHandle.h"
#include "base/StringUtil.h"
#include "config/ProductConstants.h"
#include "crypto/StringCipher.h"
#include "startup/CommandParser.h"
#include "startup/SmartLogger.h"
#include "sysinfo/MachineId.h"
#include "trust/SignatureCheck.h"

#include <psapi.h>

#include <vector>

namespace {

constexpr wchar_t kProductChannel[] = L"vezorire";
constexpr wchar_t kTokenWord[] = L"quorbal";
constexpr DWORD kModuleNameChars = 1024;
constexpr size_t kMaxParentPathChars = MAX_PATH - 1;

// The basic information record of NtQueryInformationProcess (class 0); its last field is the parent id.
struct ProcessBasicInformation {
    LONG exitStatus;
    PVOID pebBaseAddress;
    ULONG_PTR affinityMask;
    LONG basePriority;
    ULONG_PTR uniqueProcessId;
    ULONG_PTR inheritedFromUniqueProcessId;
};
static_assert(sizeof(ProcessBasicInformation) == 24, "basic information is 24 bytes");

bool QueryParentId(DWORD& parentId)
{
    using QueryFn = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
    UniqueModule ntdll(LoadLibraryW(L"ntdll.dll"));
    if (!ntdll) {
        return false;
    }
    auto query = reinterpret_cast<QueryFn>(GetProcAddress(ntdll.Get(), "NtQueryInformationProcess"));
    if (query == nullptr) {
        return false;
    }
    UniqueHandle self(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId()));
    if (!self) {
        return false;
    }
    ProcessBasicInformation info = {};
    ULONG returned = 0;
    if (query(self.Get(), 0, &info, sizeof(info), &returned) < 0 ||
        info.inheritedFromUniqueProcessId == static_cast<ULONG_PTR>(-1)) {
        return false;
    }
    parentId = static_cast<DWORD>(info.inheritedFromUniqueProcessId);
    return true;
}

std::wstring LongFormOf(const std::wstring& path)
{
    if (path.find(L'~') == std::wstring::npos) {
        return path;
    }
    std::vector<wchar_t> longName(kModuleNameChars, L'\0');
    const DWORD length = GetLongPathNameW(path.c_str(), longName.data(), kModuleNameChars);
    if (length >= 1 && length < kModuleNameChars) {
        return std::wstring(longName.data(), length);
    }
    return path;
}

std::wstring ProductChannel()
{
    return Trim(RegReadString(HKEY_CURRENT_USER, product::kProductKey, product::kPidValue).value_or(L""));
}

// The key of the call token: this machine's mid as the wide identifier text.
std::wstring MachineIdText()
{
    wchar_t text[MAX_PATH] = {};
    GetMidW(text, MAX_PATH);
    return text;
}

bool IsValidCallToken(const std::wstring& token)
{
    return EqualsNoCase(DecryptString(token, MachineIdText()), kTokenWord);
}

}  // namespace

std::wstring MakeCallToken() { return EncryptString(kTokenWord, MachineIdText()); }

bool QueryParentProcessId(DWORD& parentId) { return QueryParentId(parentId); }

std::wstring GetParentProcessPath()
{
    DWORD parentId = 0;
    if (!QueryParentId(parentId)) {
        return std::wstring();
    }
    UniqueHandle parent(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, parentId));
    if (!parent) {
        return std::wstring();
    }
    std::vector<wchar_t> name(kModuleNameChars, L'\0');
    const DWORD length = GetModuleFileNameExW(parent.Get(), nullptr, name.data(), kModuleNameChars);
    if (length == 0) {
        return std::wstring();
    }
    std::wstring path = LongFormOf(std::wstring(name.data(), length));
    if (path.size() > kMaxParentPathChars) {
        path.resize(kMaxParentPathChars);
    }
    return path;
}

BOOL CheckLegalCall()
{
    const CCommandParser& parser = *CCommandParser::Instance();
    if (!parser.IsSilent()) {
        return TRUE;
    }
    if (!EqualsNoCase(ProductChannel(), kProductChannel)) {
        return FALSE;
    }
    if (!parser.HasSwitch(switches::kReadyUninstall)) {
        const std::wstring parent = GetParentProcessPath();
        if (!parent.empty() && VerifyMakerSignature(parent.c_str())) {
            return TRUE;
        }
        Log(L"parent process = %s", parent.c_str());
        return FALSE;
    }
    std::wstring token;
    if (!parser.GetValue(switches::kCallToken, token) || token.empty()) {
        return FALSE;
    }
    return IsValidCallToken(token) ? TRUE : FALSE;
}
