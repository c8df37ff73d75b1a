#include "startup/WorkDirectory.h"

#include "base/PathUtil.h"
#include "base/ScopedHandle.h"
#include "startup/SmartLogger.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>


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

}  // namespace

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
