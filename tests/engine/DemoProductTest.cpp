// The engine's closing, termination, hook and removal steps against the demo product that
// demo_install.exe installs into the prefix, asserted on the components' journal and the log.
#include "EngineTestSupport.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "config/InstallLocation.h"
#include "base/StringUtil.h"
#include "config/ProductConstants.h"
#include "engine/InstallDirRemoval.h"
#include "engine/Leftovers.h"
#include "engine/ProcessCloser.h"
#include "engine/ProcessKiller.h"
#include "engine/UninstallHooks.h"
#include "startup/SmartLogger.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kInstallDir[] = L"C:\\Program Files\\Kelvo Papyr";
// A sibling directory whose name starts with the installation directory's.
constexpr wchar_t kSiblingDir[] = L"C:\\Program Files\\Kelvo PapyrTools";
constexpr char kSpawnKillerSwitch[] = "--spawn-killer";
constexpr char kKillHelperSwitch[] = "--kill-helper";
constexpr int kHelperSurvived = 7;

using enginetest::ReadJournal;
using enginetest::StartProgram;

std::wstring InDir(const std::wstring& relative) { return PathJoin(kInstallDir, relative); }

// The names of an App Paths hook list in the order the registry enumerates them.
std::vector<std::wstring> HookListOrder(const wchar_t* subKey)
{
    std::vector<std::wstring> names;
    UniqueHKey key = OpenRegKey(HKEY_LOCAL_MACHINE, PathJoin(product::kAppPathsKey, subKey), KEY_READ);
    for (DWORD index = 0; key; ++index) {
        wchar_t name[MAX_PATH] = {};
        DWORD chars = MAX_PATH;
        if (RegEnumValueW(key.Get(), index, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.push_back(name);
    }
    return names;
}

class DemoProduct : public testing::Test {
protected:
    void SetUp() override
    {
        wintest::RemoveTree(kInstallDir);
        ASSERT_TRUE(enginetest::InstallDemoProduct(kInstallDir));
        enginetest::UseFreshJournal();
        DeleteFileW(wintest::LogPath().c_str());
        config_ = enginetest::LoadShippedConfig();
        ASSERT_TRUE(config_);
    }

    void TearDown() override
    {
        for (UniqueHandle& process : started_) {
            if (enginetest::IsRunning(process)) {
                TerminateProcess(process.Get(), 0);
                WaitForSingleObject(process.Get(), 5000);
            }
        }
    }

    // Starts a program and waits until its start is in the journal.
    UniqueHandle& Start(const std::wstring& path, const std::wstring& tail)
    {
        started_.push_back(StartProgram(path, tail));
        EXPECT_TRUE(enginetest::WaitForJournalLine(PathFileName(path) + L"\tmain\t" + tail)) << testing::PrintToString(path);
        return started_.back();
    }

    bool LogHas(const std::wstring& line) const
    {
        return wintest::ReadLogText().find(line + L"\r\n") != std::wstring::npos;
    }

    std::unique_ptr<CSetupConfig> config_;
    std::deque<UniqueHandle> started_;
};

TEST_F(DemoProduct, HooksAreCalledInOrderWithTheirArgumentsAndUnsignedOnesAreRefused)
{
    const std::wstring dir = kInstallDir;
    EXPECT_TRUE(RunUninstallProgramEntries(*config_, dir));
    EXPECT_TRUE(RunRundllEntries(*config_, dir));
    RunRunListHooks(dir);
    RunFilePeHooks(dir);
    RunHardwixHook(dir);
    RunHomepageGuard(dir);
    EXPECT_TRUE(RunGameCentreHook(dir, false));

    std::vector<std::wstring> expected = {
        L"kelvolpi.dll\tDS\t",
        L"rundll.exe\tmain\t--dll=\"" + InDir(L"Utils\\kelvoshell32.dll") +
            L"\" --entry=ShellOpen_Vantomi32W --verb=UnInstall",
        L"kelvoshell32.dll\tShellOpen_Vantomi32W\t--verb=UnInstall",
    };
    const std::vector<std::pair<std::wstring, std::vector<std::wstring>>> runList = {
        {L"plugins\\kelvorun.dll", {L"kelvorun.dll\tUninst\trun-dll capacity=260"}},
        // The run_list programs get the product code word and PID only from beside the product's main program.
        {L"plugins\\kelvorun.exe", {L"kelvorun.exe\tmain\trun-exe --PRODUCT= --PID="}},
        // An answer of 57 asks for a second call with room for 58 characters.
        {L"plugins\\kelvorun.tpi",
         {L"kelvorun.tpi\tUninst\trun-tpi ret=57 capacity=260", L"kelvorun.tpi\tUninst\trun-tpi ret=57 capacity=58"}},
        {L"plugins\\kelvorun_regtest.dll", {L"kelvorun_regtest.dll\tUninst\trun-regtest /Regtest capacity=260"}},
        {L"plugins\\kelvorun_unsigned.dll", {}},
    };
    for (const std::wstring& name : HookListOrder(product::kRunListSubKey)) {
        for (const auto& entry : runList) {
            if (_wcsicmp(entry.first.c_str(), name.c_str()) == 0) {
                expected.insert(expected.end(), entry.second.begin(), entry.second.end());
            }
        }
    }
    const std::vector<std::pair<std::wstring, std::vector<std::wstring>>> filePe = {
        {L"kelvoupdate.exe", {L"kelvoupdate.exe\tmain\tpe-exe /uninstall /product=papyr"}},
        {L"kelvoguard.dll", {L"kelvoguard.dll\tUninst\tpe-dll"}},
        {L"plugins\\kelvofilter.dll", {}},
        // Neither a program nor a DLL: nothing is called.
        {L"readme.txt", {}},
    };
    for (const std::wstring& name : HookListOrder(product::kFilePeSubKey)) {
        for (const auto& entry : filePe) {
            if (_wcsicmp(entry.first.c_str(), name.c_str()) == 0) {
                expected.insert(expected.end(), entry.second.begin(), entry.second.end());
            }
        }
    }
    expected.push_back(L"Hardwix12.dll\tUninst\t");
    expected.push_back(L"pageward.exe\tmain\t/UnInstallDesk /LockHomePagePath=\"" + InDir(L"Utils\\pageward.exe") +
                       L"\" /Pid=pemo");
    expected.push_back(L"vtmgamecenter_papyr.dll\tStart4RunDll\t/S /PID=papyr /NOUNINSTALL");
    EXPECT_EQ(ReadJournal(), expected);

    EXPECT_TRUE(LogHas(L"Regtest, no need to check sign."));
    EXPECT_TRUE(LogHas(L"file[" + InDir(L"plugins\\kelvorun_unsigned.dll") + L"] check sign fail"));
    EXPECT_TRUE(LogHas(L"CallDllInterfaceEx return value=done:run-tpi ret=57"));
    EXPECT_TRUE(LogHas(L"file[" + InDir(L"plugins\\kelvofilter.dll") + L"] check sign fail."));
}

TEST_F(DemoProduct, UnsignedOrForeignHookFilesAreNotCalled)
{
    // The launcher without the maker's signature silences every rundll entry; a project hook and
    // the Hardwix DLL signed by someone else are refused.
    wintest::CopyOrFail(enginetest::DemoFile(L"rundll_unsigned.exe"), InDir(L"Utils\\rundll.exe"));
    wintest::CopyOrFail(enginetest::DemoFile(L"kelvohook_foreign.dll"), InDir(L"lpi\\kelvolpi.dll"));
    wintest::CopyOrFail(enginetest::DemoFile(L"kelvohook_foreign.dll"), InDir(L"wallpaperhelper\\Hardwix12.dll"));
    wintest::CopyOrFail(enginetest::DemoFile(L"kelvoprog_unsigned.exe"), InDir(L"Utils\\pageward.exe"));
    EXPECT_FALSE(RunRundllEntries(*config_, kInstallDir));
    EXPECT_TRUE(RunUninstallProgramEntries(*config_, kInstallDir));
    RunHardwixHook(kInstallDir);
    RunHomepageGuard(kInstallDir);
    EXPECT_EQ(ReadJournal(), std::vector<std::wstring>{});
    EXPECT_TRUE(LogHas(L"check sign fail, signType[], filepath[" + InDir(L"lpi\\kelvolpi.dll") + L"]"));
    EXPECT_TRUE(LogHas(L"file[" + InDir(L"wallpaperhelper\\Hardwix12.dll") + L"] check sign fail."));
}

TEST_F(DemoProduct, ClosingAsksTheWindowsFirstThenTerminatesWhatRunsFromTheInstallation)
{
    wintest::CopyOrFail(enginetest::DemoFile(L"kelvoprog.exe"), PathJoin(kSiblingDir, L"tool.exe"));
    UniqueHandle& main = Start(InDir(L"dovirad.exe"), L"");
    for (int i = 0; i < 200 && FindWindowW(L"DoviradDeskWidgetWnd", nullptr) == nullptr; ++i) {
        Sleep(20);
    }
    UniqueHandle& service = Start(InDir(L"kelvosrv.exe"), L"");
    UniqueHandle& helper = Start(InDir(L"Utils\\kelvoreg.exe"), L"--stay");
    UniqueHandle& ignored = Start(InDir(L"ZurIru\\ZurIru.exe"), L"--stay");
    UniqueHandle& sibling = Start(PathJoin(kSiblingDir, L"tool.exe"), L"--stay");

    KillProcessesInInstallPath(*config_, kInstallDir);

    // The main program ended by itself once both of its windows were closed.
    EXPECT_EQ(WaitForSingleObject(main.Get(), 5000), WAIT_OBJECT_0);
    std::vector<std::wstring> closes;
    for (const std::wstring& line : ReadJournal()) {
        if (line.rfind(L"dovirad.exe\tclose\t", 0) == 0) {
            closes.push_back(line);
        }
    }
    EXPECT_EQ(closes, (std::vector<std::wstring>{L"dovirad.exe\tclose\tDoviradMessageWnd wParam=40011 lParam=102",
                                                 L"dovirad.exe\tclose\tDoviradDeskWidgetWnd wParam=40011 lParam=102"}));
    EXPECT_TRUE(LogHas(L"Send msg to DoviradMessageWnd wnd"));
    EXPECT_TRUE(LogHas(L"Send msg to DoviradDeskWidgetWnd wnd"));

    EXPECT_EQ(WaitForSingleObject(service.Get(), 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(helper.Get(), 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(LogHas(L"Kill process: " + ToUpper(InDir(L"Utils\\kelvoreg.exe"))));
    EXPECT_TRUE(enginetest::IsRunning(ignored));
    EXPECT_TRUE(LogHas(L"Ignore process : " + ToUpper(InDir(L"ZurIru\\ZurIru.exe"))));
    EXPECT_TRUE(enginetest::IsRunning(sibling));
    EXPECT_TRUE(LogHas(L"end KillProcessesInInstallPath"));
}

TEST_F(DemoProduct, TheUninstallerAndItsParentAreSparedEvenInsideTheInstallation)
{
    UniqueHandle& service = Start(InDir(L"kelvosrv.exe"), L"");
    const std::wstring parent = InDir(L"Utils\\spawner.exe");
    wintest::CopyOrFail(GetModulePath(), parent);
    wintest::CopyOrFail(GetModulePath(), InDir(L"Utils\\killer.exe"));
    // The parent starts the killer from the installation and answers its exit code: the killer
    // answers 7 after its termination pass, which a terminated parent could not pass on.
    EXPECT_EQ(wintest::RunAndWait(L"\"" + parent + L"\" " + std::wstring(kSpawnKillerSwitch, kSpawnKillerSwitch + strlen(kSpawnKillerSwitch))),
              kHelperSurvived);
    EXPECT_EQ(WaitForSingleObject(service.Get(), 5000), WAIT_OBJECT_0);
    EXPECT_EQ(wintest::ReadFileBytes(InDir(L"Utils\\killed.txt")), "1");
}

TEST_F(DemoProduct, TheAssistPassEndsTheProcessesThatLoadedTheAssistModule)
{
    UniqueHandle& withAssist = Start(InDir(L"dovirad.exe"), L"--load-assist");
    UniqueHandle& without = Start(InDir(L"kelvosrv.exe"), L"");
    for (int i = 0; i < 200 && !ProcessHasModule(GetProcessId(withAssist.Get()), InDir(L"Utils\\Assist.dll")); ++i) {
        Sleep(20);
    }
    ASSERT_TRUE(ProcessHasModule(GetProcessId(withAssist.Get()), InDir(L"Utils\\Assist.dll")));
    EXPECT_FALSE(ProcessHasModule(GetProcessId(without.Get()), InDir(L"Utils\\Assist.dll")));
    KillAssistProcesses(kInstallDir);
    ASSERT_EQ(WaitForSingleObject(withAssist.Get(), 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(withAssist.Get(), &code);
    EXPECT_EQ(code, static_cast<DWORD>(-1));
    EXPECT_TRUE(enginetest::IsRunning(without));
}

TEST_F(DemoProduct, RemovalKeepsTheUsersFilesAndWhatLinksPointAtAndLeavesARunningProgramToTheRestart)
{
    const std::wstring outside = wintest::MakeScratchDir(L"outside-profile");
    wintest::WriteTextFile(PathJoin(outside, L"keep.txt"), "the user's file");
    ASSERT_TRUE(enginetest::MakeDirectoryLink(InDir(L"data\\profile-link"), outside));
    UniqueHandle& service = Start(InDir(L"kelvosrv.exe"), L"");

    LeftoverList leftovers;
    int total = 0;
    int progress = 0;
    DeleteInstallDir(kInstallDir, *config_, leftovers, total, [&] { ++progress; });
    // Every file counts; the running program, which stays, is the one without progress.
    EXPECT_EQ(progress, total - 1);
    EXPECT_GT(total, 40);
    EXPECT_TRUE(FileExists(PathJoin(outside, L"keep.txt")));
    EXPECT_TRUE(LogHas(std::wstring(L"remove directory ") + kInstallDir + L" failed."));
    const std::wstring log = wintest::ReadLogText();
    for (const wchar_t* name : {L"my wallpapers", L"notes.txt", L"ZurIru"}) {
        const std::wstring line = std::wstring(L"File NOT exists in xml: ") + name + L"\r\n";
        const size_t first = log.find(line);
        ASSERT_NE(first, std::wstring::npos) << testing::PrintToString(line);
        EXPECT_NE(log.find(line, first + 1), std::wstring::npos) << testing::PrintToString(line);
    }
    ASSERT_TRUE(ScheduleLeftovers(leftovers, kInstallDir));

    EXPECT_EQ(wintest::ListFilesBelow(kInstallDir),
              (std::vector<std::wstring>{L"ZurIru\\ZurIru.exe", L"my wallpapers\\beach.jpg", L"notes.txt"}));
    EXPECT_TRUE(FileExists(PathJoin(outside, L"keep.txt")));

    TerminateProcess(service.Get(), 0);
    WaitForSingleObject(service.Get(), 5000);
    enginetest::SimulateRestart();
    for (const std::wstring& file : wintest::ListFilesBelow(GetTempDirectory())) {
        EXPECT_NE(PathFileName(file), L"kelvosrv.exe") << testing::PrintToString(file);
    }
    EXPECT_TRUE(FileExists(PathJoin(outside, L"keep.txt")));
}

// Test helpers started as programs from inside the installation directory.
int SpawnKiller()
{
    return wintest::RunAndWait(L"\"" + InDir(L"Utils\\killer.exe") + L"\" " +
                               std::wstring(kKillHelperSwitch, kKillHelperSwitch + strlen(kKillHelperSwitch)));
}

int KillHelper()
{
    Logger().SetPath(wintest::LogPath());
    int count = -1;
    KillMultiProcesses(kInstallDir, &count);
    std::ofstream(InDir(L"Utils\\killed.txt").c_str(), std::ios::binary) << count;
    return kHelperSurvived;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], kSpawnKillerSwitch) == 0) {
        return SpawnKiller();
    }
    if (argc == 2 && strcmp(argv[1], kKillHelperSwitch) == 0) {
        return KillHelper();
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
