// The copy's run of the real Uninstall.exe: what it loads, and the removal of its work directory.
#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/TempName.h"
#include "config/ProductConstants.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using wintest::BinFile;

// System DLLs the program loads that are not on the loader's known list. The test runs with Wine told
// to prefer a DLL of these names found beside a program over its own, as Windows does. (Wine's own
// user32 imports version.dll, which Windows' does not, so a planted version.dll says nothing here.)
const std::vector<std::wstring> kPlantedNames = {L"wintrust.dll", L"crypt32.dll"};

class CopyRunTest : public testing::Test {
protected:
    void SetUp() override
    {
        installDir_ = L"C:\\Program Files\\Kelvo Papyr";
        wintest::RemoveTree(installDir_);
        wintest::WriteTextFile(PathJoin(installDir_, L"dovirad.exe"), "main program");
        wintest::SetInstallDirValue(installDir_);
        wintest::RemoveTree(L"C:\\planted");
    }

    // A work directory as the first launch leaves it, with DLLs planted under system names.
    std::wstring PrepareWorkDir(const std::wstring& name) { return FillWorkDir(wintest::MakeScratchDir(name)); }

    // The same in a directory named and placed as a first launch makes it.
    std::wstring PrepareGuidWorkDir()
    {
        const std::wstring dir = ChooseFreshTempPath(GetTempDirectory());
        CreateDirectoryTree(dir);
        return FillWorkDir(dir);
    }

    std::wstring FillWorkDir(const std::wstring& dir)
    {
        wintest::CopyOrFail(BinFile(L"Uninstall.exe"), PathJoin(dir, L"Uninstall.exe"));
        wintest::CopyOrFail(BinFile(L"7z.dll"), PathJoin(dir, L"7z.dll"));
        for (const std::wstring& planted : kPlantedNames) {
            wintest::CopyOrFail(BinFile(L"planted.dll"), PathJoin(dir, planted));
        }
        return dir;
    }

    static std::vector<std::wstring> PlantedMarkers() { return wintest::ListFilesBelow(L"C:\\planted"); }

    std::wstring installDir_;
};

TEST_F(CopyRunTest, APlantedDllIsLoadedByAnOrdinaryProgramButNotByTheUninstaller)
{
    const std::wstring dir = PrepareWorkDir(L"planted-control");
    wintest::CopyOrFail(BinFile(L"loadcheck.exe"), PathJoin(dir, L"loadcheck.exe"));
    wintest::RunAndWait(L"\"" + PathJoin(dir, L"loadcheck.exe") + L"\" wintrust.dll");
    ASSERT_EQ(PlantedMarkers(), std::vector<std::wstring>{L"wintrust.dll.loaded"});

    wintest::RemoveTree(L"C:\\planted");
    const std::wstring copy = PathJoin(PrepareWorkDir(L"planted-copy"), L"Uninstall.exe");
    ASSERT_EQ(wintest::RunAndWait(L"\"" + copy + L"\"  /READYUNINSTALL"), 0);
    EXPECT_TRUE(PlantedMarkers().empty());
}

TEST_F(CopyRunTest, AFirstLaunchBesidePlantedDllsLoadsNoneOfThem)
{
    for (const std::wstring& planted : kPlantedNames) {
        wintest::CopyOrFail(BinFile(L"planted.dll"), PathJoin(installDir_, planted));
    }
    wintest::CopyOrFail(BinFile(L"Uninstall.exe"), PathJoin(installDir_, L"Uninstall.exe"));
    wintest::CopyOrFail(BinFile(L"7z.dll"), PathJoin(installDir_, product::kArchiveLibrary));
    ASSERT_EQ(wintest::RunAndWait(L"\"" + PathJoin(installDir_, L"Uninstall.exe") + L"\""), 0);
    EXPECT_TRUE(wintest::WaitForProcessesUnder(GetTempDirectory()));
    EXPECT_TRUE(PlantedMarkers().empty());
}

TEST_F(CopyRunTest, ADamagedConfigurationEndsInTheCorruptionPrompt)
{
    const std::wstring dir = PrepareWorkDir(L"damaged-config");
    wintest::CopyOrFail(BinFile(L"uninstall_damaged_config.exe"), PathJoin(dir, L"Uninstall.exe"));
    DeleteFileW(wintest::LogPath().c_str());
    wintest::DialogWatcher dialogs;
    ASSERT_EQ(wintest::RunAndWait(L"\"" + PathJoin(dir, L"Uninstall.exe") + L"\"  /READYUNINSTALL"), 0);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::wstring>{L"卸载程序已被破坏，请重新下载安装后再进行卸载"});
    EXPECT_NE(wintest::ReadLogText().find(L"init config failed, exit\r\n"), std::wstring::npos);
    // No closing steps after a failed start: the work directory stays.
    EXPECT_TRUE(FileExists(PathJoin(dir, L"Uninstall.exe")));
}

// A damaged registration pointing at a system folder must not get that folder cleaned.
TEST_F(CopyRunTest, AnInstallationDirectoryThatIsASystemFolderIsTreatedAsCorrupted)
{
    for (const wchar_t* systemFolder : {L"C:\\windows", L"C:\\"}) {
        wintest::SetInstallDirValue(systemFolder);
        const std::wstring dir = PrepareWorkDir(L"system-folder");
        DeleteFileW(wintest::LogPath().c_str());
        wintest::DialogWatcher dialogs;
        ASSERT_EQ(wintest::RunAndWait(L"\"" + PathJoin(dir, L"Uninstall.exe") + L"\"  /READYUNINSTALL"), 0);
        EXPECT_EQ(dialogs.Texts(), std::vector<std::wstring>{L"卸载程序已被破坏，请重新下载安装后再进行卸载"});
        const std::wstring refusal = std::wstring(L"install dir ") + systemFolder + L" is a system folder, refused\r\n";
        EXPECT_NE(wintest::ReadLogText().find(refusal), std::wstring::npos) << testing::PrintToString(systemFolder);
        EXPECT_TRUE(FileExists(PathJoin(dir, L"Uninstall.exe")));
    }
}

struct ClosingCase {
    const char* name;
    const wchar_t* switches;
    std::vector<std::wstring> leftForRestart;  // files still in use when the copy removes its directory
};

class ClosingSteps : public CopyRunTest, public testing::WithParamInterface<ClosingCase> {};

TEST_P(ClosingSteps, TheCopyRemovesItsWorkDirectoryAndLeavesItsOwnFileToTheRestart)
{
    const std::wstring dir = PrepareGuidWorkDir();
    wintest::DialogWatcher dialogs;
    ASSERT_EQ(wintest::RunAndWait(L"\"" + PathJoin(dir, L"Uninstall.exe") + L"\" " + GetParam().switches), 0);
    EXPECT_TRUE(dialogs.Texts().empty());

    // The running program and a library it keeps loaded cannot be deleted: they and the directory
    // wait for the restart.
    ASSERT_EQ(wintest::ListFilesBelow(dir), GetParam().leftForRestart);
    const auto scheduled = [](const std::wstring& path) { return wintest::IsScheduledForDeletion(path); };
    for (const std::wstring& file : GetParam().leftForRestart) {
        EXPECT_TRUE(scheduled(PathJoin(dir, file))) << testing::PrintToString(file);
    }
    EXPECT_TRUE(scheduled(dir));

    // The configuration the copy unpacked went with it.
    for (const std::wstring& file : wintest::ListFilesBelow(GetTempDirectory())) {
        EXPECT_NE(PathFileName(file), L"papyr.vtmprj") << testing::PrintToString(file);
    }

    ASSERT_EQ(wintest::RunAndWait(L"C:\\windows\\system32\\wineboot.exe -r"), 0);
    EXPECT_FALSE(PathExists(dir));
}

INSTANTIATE_TEST_SUITE_P(Runs, ClosingSteps,
                         testing::Values(ClosingCase{"Uninstall", L" /READYUNINSTALL", {L"7z.dll", L"Uninstall.exe"}},
                                         ClosingCase{"ReRegistration", L"/K  /READYUNINSTALL", {L"Uninstall.exe"}}),
                         [](const testing::TestParamInfo<ClosingCase>& info) { return std::string(info.param.name); });

// Started by hand with "/READYUNINSTALL" from a directory that no first launch made (here the
// installation directory, which holds the user's files), the copy removes nothing at its end.
TEST_F(CopyRunTest, ACopyOutsideAFirstLaunchWorkDirectoryRemovesNothing)
{
    FillWorkDir(installDir_);
    wintest::WriteTextFile(PathJoin(installDir_, L"my wallpapers\\beach.jpg"), "the user's picture");
    const std::vector<std::wstring> before = wintest::ListFilesBelow(installDir_);
    DeleteFileW(wintest::LogPath().c_str());
    wintest::DialogWatcher dialogs;
    ASSERT_EQ(wintest::RunAndWait(L"\"" + PathJoin(installDir_, L"Uninstall.exe") + L"\" /K  /READYUNINSTALL"), 0);
    EXPECT_EQ(wintest::ListFilesBelow(installDir_), before);
    for (const std::wstring& pending : wintest::PendingDeletions()) {
        EXPECT_EQ(pending.find(L"Kelvo Papyr"), std::wstring::npos) << testing::PrintToString(pending);
    }
    EXPECT_NE(wintest::ReadLogText().find(installDir_ + L" is not a work directory of a first launch, not removed\r\n"),
              std::wstring::npos);
}

}  // namespace
