// The real Uninstall.exe started while an installer of the product runs: it refuses, tells the
// running installer's window, and starts no work.
#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/ScopedHandle.h"
#include "config/ProductConstants.h"
#include "startup/InstanceNames.h"
#include "support/SetupWindowStub.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using wintest::BinFile;
using Params = wintest::SetupWindowStub::Params;

constexpr wchar_t kAlreadyRunning[] = L"安装或卸载程序已经在运行,点击“确定”退出";

// Directories in the temporary directory that could be work directories of a first launch.
std::vector<std::wstring> TempWorkDirs()
{
    std::vector<std::wstring> dirs;
    ForEachDirectoryEntry(
        GetTempDirectory(),
        [&](const std::wstring& name, DWORD attributes) {
            if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
                dirs.push_back(name);
            }
        },
        L"*.tmp");
    return dirs;
}

struct SecondInstanceCase {
    const char* name;
    const wchar_t* tail;
    const wchar_t* pid;
    std::vector<std::wstring> boxes;
};

class SecondInstanceTest : public testing::TestWithParam<SecondInstanceCase> {
protected:
    // A complete installation, so that only the running installer stands between the call and its copy.
    void SetUp() override
    {
        installDir_ = L"C:\\Program Files\\Kelvo Papyr";
        wintest::RemoveTree(installDir_);
        wintest::WriteTextFile(PathJoin(installDir_, product::kDefaultMainExe), "main program");
        wintest::CopyOrFail(BinFile(L"probe.exe"), PathJoin(installDir_, product::kUninstallerName));
        wintest::CopyOrFail(BinFile(L"7z.dll"), PathJoin(installDir_, product::kArchiveLibrary));
        wintest::SetInstallDirValue(installDir_);
        journal_ = PathJoin(wintest::MakeScratchDir(L"second-journal"), L"journal.txt");
        SetEnvironmentVariableW(L"PROBE_JOURNAL", journal_.c_str());
        DeleteFileW(wintest::LogPath().c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, product::kProductKey);
    }

    std::wstring installDir_;
    std::wstring journal_;
};

TEST_P(SecondInstanceTest, WhileAnInstallerRunsTheUninstallerRefusesAndActivatesIt)
{
    const SecondInstanceCase& c = GetParam();
    if (c.pid != nullptr) {
        ASSERT_TRUE(RegWriteStringNoTerminator(HKEY_CURRENT_USER, product::kProductKey, product::kPidValue, c.pid));
    }
    // What a running installer holds: the mutex and its main window.
    UniqueHandle installerMutex(CreateMutexW(nullptr, TRUE, instance::kMutexName));
    ASSERT_TRUE(installerMutex);
    wintest::SetupWindowStub installerWindow;
    ASSERT_TRUE(installerWindow.IsOpen());
    const std::vector<std::wstring> workDirsBefore = TempWorkDirs();

    wintest::DialogWatcher dialogs;
    ASSERT_EQ(wintest::RunAndWait(L"\"" + BinFile(L"Uninstall.exe") + L"\" " + c.tail), 0);

    EXPECT_EQ(dialogs.Texts(), c.boxes);
    EXPECT_NE(wintest::ReadLogText().find(L"CheckSingleInstance failed, exit\r\n"), std::wstring::npos);
    EXPECT_EQ(installerWindow.Received(), (std::vector<Params>{{0, 0}}));
    EXPECT_EQ(TempWorkDirs(), workDirsBefore);
    EXPECT_FALSE(FileExists(journal_));
}

INSTANTIATE_TEST_SUITE_P(Calls, SecondInstanceTest,
                         testing::Values(SecondInstanceCase{"Interactive", L"", nullptr, {kAlreadyRunning}},
                                         SecondInstanceCase{"Silent", L"/S", L"vezorire", {}}),
                         [](const testing::TestParamInfo<SecondInstanceCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
