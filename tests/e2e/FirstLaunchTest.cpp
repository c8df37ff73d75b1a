// The first launch of the real Uninstall.exe against a prepared installation: the work directory it
// makes, the copy it starts, and the cases in which it refuses to.
#include "base/PathUtil.h"
#include "base/Registry.h"
#include "config/ProductConstants.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace {

using wintest::BinFile;

constexpr wchar_t kCorrupted[] = L"卸载程序已被破坏，请重新下载安装后再进行卸载";

struct ProbeRecord {
    std::wstring commandLine;
    std::wstring exe;
    std::vector<std::wstring> files;
};

class FirstLaunchTest : public testing::Test {
protected:
    void SetUp() override
    {
        installDir_ = L"C:\\Program Files\\Kelvo Papyr";
        wintest::RemoveTree(installDir_);
        CreateDirectoryTree(installDir_);
        journal_ = PathJoin(wintest::MakeScratchDir(L"journal"), L"journal.txt");
        SetEnvironmentVariableW(L"PROBE_JOURNAL", journal_.c_str());
        DeleteFileW(wintest::LogPath().c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, product::kProductKey);
    }

    void Put(const std::wstring& relative, const std::wstring& source)
    {
        wintest::CopyOrFail(source, PathJoin(installDir_, relative));
    }
    void PutBytes(const std::wstring& relative, const std::string& bytes)
    {
        wintest::WriteTextFile(PathJoin(installDir_, relative), bytes);
    }

    // A registered installation whose uninstaller is the probe, so that the copy reports itself.
    void InstallWithProbe(const std::wstring& uninstallerName = product::kUninstallerName)
    {
        PutBytes(L"dovirad.exe", "main program");
        Put(uninstallerName, BinFile(L"probe.exe"));
        Put(product::kArchiveLibrary, BinFile(L"7z.dll"));
        wintest::SetInstallDirValue(installDir_);
    }

    int RunFirstLaunch(const std::wstring& exe, const std::wstring& tail)
    {
        return wintest::RunAndWait(L"\"" + exe + L"\" " + tail);
    }

    // The probe's record, once the copy has written it (waits up to 20 s).
    bool WaitForCopy(ProbeRecord& record)
    {
        for (int i = 0; i < 200; ++i) {
            const std::string bytes = wintest::ReadFileBytes(journal_);
            const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
            if (text.find(L"done\n") != std::wstring::npos) {
                Parse(text, record);
                return true;
            }
            Sleep(100);
        }
        return false;
    }

    static void Parse(const std::wstring& text, ProbeRecord& record)
    {
        size_t at = 0;
        while (at < text.size()) {
            const size_t end = text.find(L'\n', at);
            const std::wstring line = text.substr(at, end - at);
            at = end + 1;
            if (line.rfind(L"cmdline=", 0) == 0) {
                record.commandLine = line.substr(8);
            } else if (line.rfind(L"exe=", 0) == 0) {
                record.exe = line.substr(4);
            } else if (line.rfind(L"file=", 0) == 0) {
                record.files.push_back(line.substr(5));
            }
        }
        std::sort(record.files.begin(), record.files.end());
    }

    bool JournalExists() const { return FileExists(journal_); }

    std::wstring installDir_;
    std::wstring journal_;
};

void ExpectWorkDirectory(const ProbeRecord& record)
{
    const std::wstring workDir = PathDirectory(record.exe);
    EXPECT_EQ(PathDirectory(workDir), GetTempDirectory());
    EXPECT_TRUE(std::regex_match(PathFileName(workDir),
                                 std::wregex(L"\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9a-f]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}\\.tmp")))
        << testing::PrintToString(workDir);
    EXPECT_EQ(PathFileName(record.exe), L"Uninstall.exe");
}

struct LayoutCase {
    const char* name;
    const wchar_t* uninstallerName;
    bool netKit;
    bool sysCore;
    bool identity;
    std::vector<std::wstring> workFiles;
};

class FirstLaunchLayouts : public FirstLaunchTest, public testing::WithParamInterface<LayoutCase> {};

TEST_P(FirstLaunchLayouts, CopiesExactlyTheProgramItsLibrariesAndTheIdentityFile)
{
    const LayoutCase& c = GetParam();
    InstallWithProbe(c.uninstallerName);
    if (c.netKit) {
        PutBytes(product::kHttpLibrary, "http library");
    }
    if (c.sysCore) {
        PutBytes(product::kSysCoreLibrary, "system core");
    }
    if (c.identity) {
        PutBytes(product::kIdentityFile, "identity");
    }
    wintest::DialogWatcher dialogs;
    ASSERT_EQ(RunFirstLaunch(BinFile(L"Uninstall.exe"), L""), 0);

    ProbeRecord record;
    ASSERT_TRUE(WaitForCopy(record));
    ExpectWorkDirectory(record);
    EXPECT_EQ(record.files, c.workFiles);
    EXPECT_EQ(record.commandLine, L"\"" + record.exe + L"\"   /READYUNINSTALL");
    EXPECT_TRUE(dialogs.Texts().empty());
    EXPECT_NE(wintest::ReadLogText().find(L"parent process path= "), std::wstring::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Installations, FirstLaunchLayouts,
    testing::Values(
        LayoutCase{"Complete", product::kUninstallerName, true, true, true,
                   {L"7z.dll", L"NetKit.dll", L"Uninstall.exe", L"Utils\\SysCore.dll", L"product"}},
        LayoutCase{"LegacyUninstallerName", product::kLegacyUninstallerName, true, true, false,
                   {L"7z.dll", L"NetKit.dll", L"Uninstall.exe", L"Utils\\SysCore.dll"}},
        LayoutCase{"WithoutOptionalLibraries", product::kUninstallerName, false, false, false,
                   {L"7z.dll", L"Uninstall.exe"}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST_F(FirstLaunchTest, TheTailReachesTheCopyUnchanged)
{
    InstallWithProbe();
    ASSERT_EQ(RunFirstLaunch(BinFile(L"Uninstall.exe"), L"/foo=\"a b\" /K"), 0);
    ProbeRecord record;
    ASSERT_TRUE(WaitForCopy(record));
    EXPECT_EQ(record.commandLine, L"\"" + record.exe + L"\" /foo=\"a b\" /K  /READYUNINSTALL");
}

TEST_F(FirstLaunchTest, AMissingArchiveLibraryStopsTheRelaunchWithTheCorruptionPrompt)
{
    InstallWithProbe();
    DeleteFileW(PathJoin(installDir_, product::kArchiveLibrary).c_str());
    wintest::DialogWatcher dialogs;
    ASSERT_EQ(RunFirstLaunch(BinFile(L"Uninstall.exe"), L""), 0);
    EXPECT_FALSE(JournalExists());
    EXPECT_EQ(dialogs.Texts(), std::vector<std::wstring>{kCorrupted});
}

TEST_F(FirstLaunchTest, AMissingMainExecutableStopsTheRelaunch)
{
    InstallWithProbe();
    DeleteFileW(PathJoin(installDir_, L"dovirad.exe").c_str());
    wintest::DialogWatcher dialogs;
    ASSERT_EQ(RunFirstLaunch(BinFile(L"Uninstall.exe"), L""), 0);
    EXPECT_FALSE(JournalExists());
    EXPECT_EQ(dialogs.Texts(), std::vector<std::wstring>{kCorrupted});
}

TEST_F(FirstLaunchTest, AMissingRegistrationIsRepairedFromTheMainExecutableBesideTheUninstaller)
{
    InstallWithProbe();
    Put(L"first launch.exe", BinFile(L"Uninstall.exe"));
    wintest::DeleteInstallDirValue();
    ASSERT_EQ(RunFirstLaunch(PathJoin(installDir_, L"first launch.exe"), L""), 0);

    DWORD type = 0;
    DWORD bytes = 0;
    // Written without its terminator; the registry adds one when the text is followed by a zero.
    EXPECT_STREQ(wintest::ReadInstallDirValueRaw(type, bytes).c_str(), installDir_.c_str());
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    ProbeRecord record;
    EXPECT_TRUE(WaitForCopy(record));
}

TEST_F(FirstLaunchTest, AMissingRegistrationWithoutTheMainExecutableBesideIsNotRepaired)
{
    InstallWithProbe();
    wintest::DeleteInstallDirValue();
    wintest::DialogWatcher dialogs;
    ASSERT_EQ(RunFirstLaunch(BinFile(L"Uninstall.exe"), L""), 0);
    DWORD type = 0;
    DWORD bytes = 0;
    EXPECT_EQ(wintest::ReadInstallDirValueRaw(type, bytes), L"");
    EXPECT_FALSE(JournalExists());
    EXPECT_EQ(dialogs.Texts(), std::vector<std::wstring>{kCorrupted});
}

TEST_F(FirstLaunchTest, ASilentCallFromAnotherChannelIsRefusedWithoutAnyWindow)
{
    InstallWithProbe();
    wintest::DialogWatcher dialogs;
    ASSERT_EQ(RunFirstLaunch(BinFile(L"Uninstall.exe"), L"/S"), 0);
    EXPECT_FALSE(JournalExists());
    EXPECT_TRUE(dialogs.Texts().empty());
    EXPECT_NE(wintest::ReadLogText().find(L"illegal call\r\n"), std::wstring::npos);
}

TEST_F(FirstLaunchTest, ASilentCallFromTheProductsChannelAndASignedParentStartsTheCopyWithAToken)
{
    InstallWithProbe();
    ASSERT_TRUE(RegWriteStringNoTerminator(HKEY_CURRENT_USER, product::kProductKey, product::kPidValue,
                                           L" vezorire "));
    ASSERT_EQ(RunFirstLaunch(BinFile(L"Uninstall.exe"), L"/S"), 0);
    ProbeRecord record;
    ASSERT_TRUE(WaitForCopy(record));
    const std::wstring expected = L"\"" + record.exe + L"\" /S  /READYUNINSTALL  /CHK=";
    EXPECT_EQ(record.commandLine.substr(0, expected.size()), expected);
    EXPECT_GT(record.commandLine.size(), expected.size());
}

}  // namespace
