// Folders the uninstaller must never treat as an installation directory.
#include "config/ProtectedFolders.h"

#include "base/PathUtil.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

namespace {

std::wstring Folder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

TEST(ProtectedFolders, SystemAndProfileRootsAreRefused)
{
    const std::wstring profile = Folder(CSIDL_PROFILE);
    const std::wstring users = PathDirectory(profile);
    const std::vector<std::wstring> refused = {
        L"C:\\", L"c:", L"D:\\", L"\\\\server\\share",
        Folder(CSIDL_WINDOWS), Folder(CSIDL_WINDOWS) + L"\\", L"C:\\WINDOWS\\system32", Folder(CSIDL_SYSTEM) + L"\\drivers",
        Folder(CSIDL_PROGRAM_FILES), L"C:\\program files\\", Folder(CSIDL_COMMON_APPDATA),
        users, profile, users + L"\\Public", users + L"\\someone else",
        L"C:\\Program Files\\..\\windows\\Temp",  // made full before the comparison
        L"",
    };
    for (const std::wstring& dir : refused) {
        EXPECT_TRUE(IsProtectedFolder(dir)) << testing::PrintToString(dir);
    }
}

TEST(ProtectedFolders, ProductFoldersBelowThoseRootsAreAccepted)
{
    const std::wstring profile = Folder(CSIDL_PROFILE);
    const std::vector<std::wstring> accepted = {
        L"C:\\Program Files\\Kelvo Papyr", Folder(CSIDL_PROGRAM_FILES) + L"\\Kelvo Papyr\\",
        Folder(CSIDL_COMMON_APPDATA) + L"\\Kelvo", profile + L"\\AppData\\Local\\Papyr", L"D:\\Papyr",
        L"C:\\WindowsApps2",  // shares a prefix with the Windows folder, but is not below it
    };
    for (const std::wstring& dir : accepted) {
        EXPECT_FALSE(IsProtectedFolder(dir)) << testing::PrintToString(dir);
    }
}

}  // namespace
