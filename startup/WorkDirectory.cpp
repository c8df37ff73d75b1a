#include "startup/WorkDirectory.h"

#include "base/PathUtil.h"
#include "base/ScopedHandle.h"
#include "startup/SmartLogger.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <cwchar>
#include <cwctype>


namespace {

// The text form of the running user's SID, or empty.
std::wstring CurrentUserSid()
{
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) {
        return std::wstring();
    }
    UniqueHandle token(opened);
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    if (size == 0) {
        return std::wstring();
    }
    std::wstring storage(size / sizeof(wchar_t) + 1, L'\0');
    auto* user = reinterpret_cast<TOKEN_USER*>(&storage[0]);
    if (!GetTokenInformation(token.Get(), TokenUser, user, size, &size)) {
        return std::wstring();
    }
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(user->User.Sid, &text)) {
        return std::wstring();
    }
    UniqueLocalMem owner(reinterpret_cast<HLOCAL>(text));
    return text;
}

bool CreateWithDacl(const std::wstring& dir)
{
    const std::wstring rules = WorkDirSecurityText();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (rules.empty() || !ConvertStringSecurityDescriptorToSecurityDescriptorW(rules.c_str(), SDDL_REVISION_1,
                                                                               &descriptor, nullptr)) {
        return false;
    }
    UniqueLocalMem owner(descriptor);
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
    CreateDirectoryTree(PathDirectory(dir));
    return CreateDirectoryW(dir.c_str(), &attributes) != FALSE;
}

// True when the directory's DACL is protected from inheritance, as the work directory's rules ask.
bool DaclIsProtected(const std::wstring& dir)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(dir.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                              nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    UniqueLocalMem owner(descriptor);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    return GetSecurityDescriptorControl(descriptor, &control, &revision) && (control & SE_DACL_PROTECTED) != 0;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.tmp" in either case.
bool IsGuidTmpName(const std::wstring& name)
{
    static const wchar_t kPattern[] = L"{hhhhhhhh-hhhh-hhhh-hhhh-hhhhhhhhhhhh}.tmp";
    if (name.size() != wcslen(kPattern)) {
        return false;
    }
    for (size_t i = 0; i < name.size(); ++i) {
        const bool matches = kPattern[i] == L'h' ? iswxdigit(name[i]) != 0 : towlower(name[i]) == kPattern[i];
        if (!matches) {
            return false;
        }
    }
    return true;
}

std::wstring LongForm(const std::wstring& path)
{
    wchar_t buffer[MAX_PATH * 4] = {};
    const DWORD length = GetLongPathNameW(path.c_str(), buffer, MAX_PATH * 4);
    return length > 0 && length < MAX_PATH * 4 ? std::wstring(buffer, length) : path;
}

}  // namespace

bool IsFirstLaunchWorkDir(const std::wstring& dir)
{
    if (!IsGuidTmpName(PathFileName(dir))) {
        return false;
    }
    return _wcsicmp(LongForm(PathDirectory(dir)).c_str(), LongForm(GetTempDirectory()).c_str()) == 0;
}

std::wstring WorkDirSecurityText()
{
    const std::wstring userSid = CurrentUserSid();
    if (userSid.empty()) {
        return std::wstring();
    }
    return L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;" + userSid + L")";
}

bool CreateSecuredWorkDirectory(const std::wstring& dir)
{
    if (dir.empty()) {
        return false;
    }
    DeleteFileW(dir.c_str());
    if (!CreateWithDacl(dir)) {
        Log(L"secure work dir %s failed, error=%d", dir.c_str(), static_cast<int>(GetLastError()));
        CreateDirectoryTree(dir);
    } else if (!DaclIsProtected(dir)) {
        Log(L"work dir %s did not keep its access rules", dir.c_str());
    }
    return DirectoryExists(dir);
}
