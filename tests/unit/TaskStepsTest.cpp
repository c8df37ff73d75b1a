// The smaller removal steps and the task interface's own answers, on this prefix's registry and files.
#include "engine/TaskSteps.h"
#include "engine/UninstallTask.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "config/ProductConstants.h"
#include "startup/SmartLogger.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace {

constexpr wchar_t kAppKeyAsWritten[] = L"SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\dovirad.exe";

bool KeyExists(HKEY root, const std::wstring& key) { return OpenRegKey(root, key, KEY_READ).IsValid(); }

void MakeKey(HKEY root, const std::wstring& key)
{
    HKEY made = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &made, nullptr), ERROR_SUCCESS);
    RegCloseKey(made);
}

std::wstring Folder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

class TaskSteps : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteFileW(wintest::LogPath().c_str());
        Logger().SetPath(wintest::LogPath());
        const std::wstring appKey = std::wstring(product::kAppPathsKey);
        MakeKey(HKEY_LOCAL_MACHINE, appKey + L"\\file_list");
        MakeKey(HKEY_CURRENT_USER, product::kProductKey);
        MakeKey(HKEY_CURRENT_USER, std::wstring(product::kVendorKey) + L"\\deep\\er");
        MakeKey(HKEY_CLASSES_ROOT, product::kClassesKey);
    }

    static std::vector<bool> ProductKeysPresent()
    {
        return {KeyExists(HKEY_LOCAL_MACHINE, product::kAppPathsKey), KeyExists(HKEY_CURRENT_USER, product::kProductKey),
                KeyExists(HKEY_CURRENT_USER, product::kVendorKey), KeyExists(HKEY_CLASSES_ROOT, product::kClassesKey)};
    }
};

TEST_F(TaskSteps, TheRegistryStepDeletesTheConfiguredKeyAsWrittenAndTheFixedOnes)
{
    RemoveProductRegistry(HKEY_LOCAL_MACHINE, kAppKeyAsWritten);
    EXPECT_EQ(ProductKeysPresent(), (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths"));
    EXPECT_NE(wintest::ReadLogText().find(L"remove registry\r\n"), std::wstring::npos);
}

TEST_F(TaskSteps, AnEmptyConfiguredKeySkipsEveryKeyDeletion)
{
    RemoveProductRegistry(HKEY_LOCAL_MACHINE, L"");
    EXPECT_EQ(ProductKeysPresent(), (std::vector<bool>{true, true, true, true}));
}

TEST_F(TaskSteps, KeySeparatorsAreCollapsed)
{
    EXPECT_EQ(CollapseKeySeparators(L"\\\\A\\\\\\B\\"), L"A\\B");
    EXPECT_EQ(CollapseKeySeparators(L"\\\\"), L"");
}

TEST_F(TaskSteps, AppDataGoesOnlyWhenChosenAndTheBrowserCacheAlways)
{
    const std::wstring appData = PathJoin(Folder(CSIDL_APPDATA), product::kAppDataFolder);
    wintest::WriteTextFile(PathJoin(appData, L"cef_cache\\index"), "cache");
    wintest::WriteTextFile(PathJoin(appData, L"settings.ini"), "user settings");

    RemoveBrowserCache();
    RemoveAppData(false);
    EXPECT_FALSE(PathExists(PathJoin(appData, L"cef_cache")));
    EXPECT_TRUE(FileExists(PathJoin(appData, L"settings.ini")));
    const std::wstring log = wintest::ReadLogText();
    EXPECT_NE(log.find(L"remove cef cache\r\n"), std::wstring::npos);
    EXPECT_EQ(log.find(L"remove appdata"), std::wstring::npos);

    RemoveBrowserCache();  // nothing there any more: still logged
    RemoveAppData(true);
    EXPECT_FALSE(PathExists(appData));
    EXPECT_NE(wintest::ReadLogText().find(L"remove appdata\r\n"), std::wstring::npos);
}

TEST_F(TaskSteps, TheLegacyUninstallerGoesAndItsFoldersOnlyWhenEmpty)
{
    const std::wstring vendor = PathJoin(Folder(CSIDL_PROGRAM_FILES), L"Lumio");
    const std::wstring folder = PathJoin(vendor, L"Lumiopapyr");
    wintest::WriteTextFile(PathJoin(folder, L"Uninstall.exe"), "old uninstaller");
    wintest::WriteTextFile(PathJoin(vendor, L"Other\\keep.txt"), "another product");
    RemoveLegacyUninstaller();
    EXPECT_FALSE(PathExists(folder));
    EXPECT_TRUE(FileExists(PathJoin(vendor, L"Other\\keep.txt")));
    wintest::RemoveTree(vendor);
}

void ListValue(const wchar_t* subKey, const std::wstring& name)
{
    ASSERT_TRUE(RegWriteStringNoTerminator(HKEY_LOCAL_MACHINE, PathJoin(product::kAppPathsKey, subKey), name, L""));
}

TEST_F(TaskSteps, ListedFilesAndFoldersGoButNamesLeadingOutsideTheInstallationAreSkipped)
{
    const std::wstring root = wintest::MakeScratchDir(L"by-registry");
    const std::wstring installDir = PathJoin(root, L"Kelvo Papyr");
    wintest::WriteTextFile(PathJoin(installDir, L"listed.dll"), "listed");
    wintest::WriteTextFile(PathJoin(installDir, L"plugins\\a\\b.dll"), "listed folder");
    wintest::WriteTextFile(PathJoin(installDir, L"pe.exe"), "file_pe entry");
    wintest::WriteTextFile(PathJoin(root, L"outside.txt"), "not the product's");
    wintest::WriteTextFile(PathJoin(root, L"Kelvo Papyr2\\sibling.txt"), "another folder");
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, product::kAppPathsKey);
    ListValue(product::kFileListSubKey, L"listed.dll");
    ListValue(product::kFileListSubKey, L"plugins");
    ListValue(product::kFileListSubKey, L"missing.dll");
    ListValue(product::kFileListSubKey, L"..\\outside.txt");
    ListValue(product::kFileListSubKey, L"plugins\\..\\..\\Kelvo Papyr2");
    ListValue(product::kFileListSubKey, PathJoin(root, L"outside.txt"));
    ListValue(product::kFileListSubKey, L".");
    ListValue(product::kFilePeSubKey, L"pe.exe");

    LeftoverList leftovers;
    RemoveFilesByRegistry(installDir, leftovers);
    EXPECT_TRUE(leftovers.empty());
    EXPECT_EQ(wintest::ListFilesBelow(root), (std::vector<std::wstring>{L"Kelvo Papyr2\\sibling.txt", L"outside.txt"}));
    const std::wstring log = wintest::ReadLogText();
    EXPECT_NE(log.find(L"remove file by registry\r\n"), std::wstring::npos);
    EXPECT_NE(log.find(L"skip registry file ..\\outside.txt: not inside the installation directory"), std::wstring::npos);
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, product::kAppPathsKey);
}

TEST(UninstallTaskInterface, GameCentreAnswersFollowTheRegistry)
{
    const wchar_t* key = L"SOFTWARE\\VTMGameCenter";
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, key);
    CUninstallTask task;
    EXPECT_TRUE(task.IsGameCenterUnplayed());
    EXPECT_FALSE(task.IsGameCenterVendor());
    ASSERT_TRUE(RegWriteStringNoTerminator(HKEY_LOCAL_MACHINE, key, L"Played", L"1"));
    ASSERT_TRUE(RegWriteStringNoTerminator(HKEY_LOCAL_MACHINE, key, L"VendorID", L"OEM-PAPYR-2"));
    EXPECT_FALSE(task.IsGameCenterUnplayed());
    EXPECT_TRUE(task.IsGameCenterVendor());
    EXPECT_TRUE(task.CanUninstall());
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, key);
}

TEST(UninstallTaskInterface, TheInstallDirIsCopiedOnlyIntoABufferThatHoldsIt)
{
    CUninstallTask task;
    wchar_t buffer[8] = L"untouch";
    task.GetInstallDir(buffer, 8);  // not set yet
    EXPECT_STREQ(buffer, L"untouch");
    task.SetInstallDir(L"C:\\Papyr");  // 8 characters
    task.GetInstallDir(buffer, 8);
    EXPECT_STREQ(buffer, L"untouch");
    wchar_t larger[9] = {};
    task.GetInstallDir(larger, 9);
    EXPECT_STREQ(larger, L"C:\\Papyr");
    task.SetInstallDir(nullptr);
    wchar_t cleared[16] = L"kept";
    task.GetInstallDir(cleared, 16);
    EXPECT_STREQ(cleared, L"kept");
}

TEST(UninstallTaskInterface, WriteLogKeepsPercentSignsVerbatim)
{
    DeleteFileW(wintest::LogPath().c_str());
    Logger().SetPath(wintest::LogPath());
    CUninstallTask task;
    task.WriteLog(L"100% done %s %d");
    EXPECT_NE(wintest::ReadLogText().find(L"100% done %s %d\r\n"), std::wstring::npos);
}

}  // namespace
