#include "config/SetupConfig.h"

#include "base/PathUtil.h"
#include "config/ResourceUnpack.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using wintest::BinFile;

void WriteUtf16(const std::wstring& path, const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    wintest::WriteTextFile(path, bytes);
}

const wchar_t kRootList[] =
    L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><RootDirFiles>"
    L"<Dir><Item Name=\"Skin\"/><Item Name=\"both\"/><Item optional=\"0x10\"/><Item/></Dir>"
    L"<File><Item Name=\"Uninstall.exe\"/><Item Name=\"Both\" optional=\"3\"/><Item Name=\"alpha.dll\"/></File>"
    L"</RootDirFiles>";

class ConfigFiles : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        dir_ = wintest::MakeScratchDir(L"config");
        WriteUtf16(PathJoin(dir_, L"roots.xml"), kRootList);
    }
    void TearDown() override { CoUninitialize(); }

    std::wstring Project(const std::wstring& body)
    {
        const std::wstring path = PathJoin(dir_, L"test.vtmprj");
        WriteUtf16(path, L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><Setup>" + body + L"</Setup>");
        return path;
    }

    std::wstring dir_;
};

constexpr wchar_t kMainAndRoots[] = L"<Main Version=\"9\"/><UninstallRootDirFileList File=\"roots.xml\"/>";

struct LoadCase {
    const char* name;
    const wchar_t* body;
    bool loads;
};

class ProjectLoad : public ConfigFiles, public testing::WithParamInterface<LoadCase> {};

TEST_P(ProjectLoad, NeedsAParsableProjectWithMainAndAnExistingRootList)
{
    CSetupConfig config;
    EXPECT_EQ(config.Load(Project(GetParam().body)), GetParam().loads);
}

INSTANTIATE_TEST_SUITE_P(
    Projects, ProjectLoad,
    testing::Values(LoadCase{"Usable", kMainAndRoots, true},
                    LoadCase{"WithoutRootList", L"<Main Version=\"9\"/>", false},
                    LoadCase{"RootListFileMissing", L"<Main/><UninstallRootDirFileList File=\"gone.xml\"/>", false},
                    LoadCase{"WithoutMain", L"<UninstallRootDirFileList File=\"roots.xml\"/>", false},
                    LoadCase{"NotWellFormed", L"<Main><UninstallRootDirFileList File=\"roots.xml\"/>", false}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST_F(ConfigFiles, AMissingOrOverLongProjectPathFails)
{
    CSetupConfig config;
    EXPECT_FALSE(config.Load(PathJoin(dir_, L"missing.vtmprj")));
    EXPECT_FALSE(config.Load(L""));
    EXPECT_FALSE(config.Load(PathJoin(dir_, std::wstring(520, L'x'))));
}

TEST_F(ConfigFiles, CloseProgramsTakeTheirDefaultsAndKnownMessageNamesOnly)
{
    CSetupConfig config;
    ASSERT_TRUE(config.Load(Project(
        std::wstring(kMainAndRoots) + L"<CloseAllPrograms>"
        L"<Program WindowClass=\"A\" Message=\"wm_command\"/>"
        L"<Program WindowClass=\"B\" Message=\"WM_QUIT\" WPARAM=\"0x9C4B\" LPARAM=\"7\" Timeout=\"50\"/>"
        L"<Program WindowClass=\"" + std::wstring(196, L'c') + L"\"/>"
        L"<Program WindowClass=\"" + std::wstring(195, L'd') + L"\" Message=\"WM_COMMAND\"/>"
        L"</CloseAllPrograms>")));
    ASSERT_EQ(config.GetCloseProgramCount(), 3);
    CloseProgramRecord record;
    ASSERT_TRUE(config.GetCloseProgram(0, &record));
    EXPECT_STREQ(record.windowClass, L"A");
    EXPECT_EQ(record.message, 16u);
    EXPECT_EQ(record.wParam, 360u);
    EXPECT_EQ(record.lParam, 360u);
    EXPECT_EQ(record.timeout, 2000u);
    ASSERT_TRUE(config.GetCloseProgram(1, &record));
    EXPECT_EQ(record.message, 18u);
    EXPECT_EQ(record.wParam, 40011u);
    EXPECT_EQ(record.lParam, 7u);
    EXPECT_EQ(record.timeout, 50u);
    ASSERT_TRUE(config.GetCloseProgram(2, &record));
    EXPECT_EQ(std::wstring(record.windowClass), std::wstring(195, L'd'));
    EXPECT_EQ(record.message, 273u);
    EXPECT_FALSE(config.GetCloseProgram(3, &record));
    EXPECT_EQ(record.windowClass[0], L'\0');
}

TEST_F(ConfigFiles, OverLongHooksAreDroppedAndTheOthersKeepTheirOrder)
{
    CSetupConfig config;
    ASSERT_TRUE(config.Load(Project(std::wstring(kMainAndRoots) + L"<CallProgramOnUninst>"
                                    L"<Program FileName=\"one.exe\" Type=\"exe\" WaitTime=\"80000\" Sync=\"0\"/>"
                                    L"<Program FileName=\"two.exe\" Cmdline=\"" + std::wstring(300, L'x') + L"\"/>"
                                    L"<Program FileName=\"three.dll\" Type=\"dll\" FuncName=\"DS\" SignType=\"S\"/>"
                                    L"</CallProgramOnUninst>")));
    ASSERT_EQ(config.GetUninstallHookCount(), 2);
    UninstallHookRecord hook;
    ASSERT_TRUE(config.GetUninstallHook(0, &hook));
    EXPECT_STREQ(hook.fileName, L"one.exe");
    EXPECT_EQ(hook.waitTime, 80000u);
    EXPECT_EQ(hook.synchronous, 0u);
    ASSERT_TRUE(config.GetUninstallHook(1, &hook));
    EXPECT_STREQ(hook.fileName, L"three.dll");
    EXPECT_STREQ(hook.functionName, L"DS");
    EXPECT_STREQ(hook.signType, L"S");
    EXPECT_EQ(hook.synchronous, 1u);
}

TEST_F(ConfigFiles, UnregisterItemsAreKeptOnlyForThisWindowsBitness)
{
    CSetupConfig config;
    ASSERT_TRUE(config.Load(Project(std::wstring(kMainAndRoots) + L"<RundllUnRegisterOnUnInst>"
                                    L"<Item FileName=\"a32.dll\" System=\"32\" WaitTime=\"5000\"/>"
                                    L"<Item FileName=\"a64.dll\" System=\"64\"/>"
                                    L"<Item FileName=\"none.dll\"/>"
                                    L"<Item FileName=\"b32.dll\" System=\"32 \"/>"
                                    L"</RundllUnRegisterOnUnInst>")));
    // The test prefix is a 32-bit Windows.
    ASSERT_EQ(config.UnregisterList().size(), 1u);
    EXPECT_STREQ(config.UnregisterList()[0].fileName, L"a32.dll");
    EXPECT_EQ(config.UnregisterList()[0].waitTime, 5000u);
}

TEST_F(ConfigFiles, StringGettersCopyOnlyValuesShorterThanTheBuffer)
{
    CSetupConfig config;
    ASSERT_TRUE(config.Load(Project(L"<Main Version=\"1.2\"/><UninstallRootDirFileList File=\"roots.xml\"/>"
                                    L"<RegAppPath HKEY=\"hkey_current_user\" SubKey=\"A\\\\B\" Value=\"V\"/>")));
    wchar_t buffer[8] = L"junk";
    EXPECT_FALSE(config.GetVersion(buffer, 3));
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_TRUE(config.GetVersion(buffer, 4));
    EXPECT_STREQ(buffer, L"1.2");
    EXPECT_TRUE(config.GetRegAppPathSubKey(buffer, 8));
    EXPECT_STREQ(buffer, L"A\\\\B");
    EXPECT_EQ(config.GetRegAppPathRoot(), HKEY_CURRENT_USER);
    EXPECT_EQ(config.GetMinimizeSpace(), 100);
    EXPECT_EQ(config.GetFileCount(), 200);
    EXPECT_TRUE(config.GetMainApp(buffer, 8));
    EXPECT_STREQ(buffer, L"");
}

TEST_F(ConfigFiles, TheRootListAnswersWithoutRegardToCaseInKeyOrder)
{
    CUninstallRootDirList list;
    ASSERT_TRUE(list.Load(PathJoin(dir_, L"roots.xml").c_str()));
    // "both" of the Dir section is replaced by "Both" of the File section; the two unnamed items share one key.
    ASSERT_EQ(list.GetCount(), 5);
    const struct {
        const wchar_t* name;
        DWORD isDirectory;
        DWORD optional;
    } expected[] = {{L"", 1, 0}, {L"alpha.dll", 0, 0}, {L"Both", 0, 3}, {L"Skin", 1, 0}, {L"Uninstall.exe", 0, 0}};
    for (int i = 0; i < 5; ++i) {
        RootDirEntry entry;
        ASSERT_TRUE(list.GetEntry(i, &entry));
        EXPECT_STREQ(entry.name, expected[i].name) << i;
        EXPECT_EQ(entry.isDirectory, expected[i].isDirectory) << i;
        EXPECT_EQ(entry.optional, expected[i].optional) << i;
    }
    RootDirEntry entry;
    EXPECT_FALSE(list.GetEntry(5, &entry));
    EXPECT_FALSE(list.GetEntry(0, nullptr));
    for (const wchar_t* name : {L"uninstall.exe", L"UNINSTALL.EXE", L"Uninstall.exe"}) {
        EXPECT_TRUE(list.Contains(name)) << name;
    }
    EXPECT_TRUE(list.Remove(L"UNINSTALL.exe"));
    EXPECT_FALSE(list.Contains(L"Uninstall.exe"));
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_FALSE(list.Remove(nullptr));
}

TEST_F(ConfigFiles, ARootListThatDoesNotLoadKeepsTheEntriesItHad)
{
    CUninstallRootDirList list;
    ASSERT_TRUE(list.Load(PathJoin(dir_, L"roots.xml").c_str()));
    wintest::WriteTextFile(PathJoin(dir_, L"broken.xml"), "<RootDirFiles><Dir>");
    EXPECT_FALSE(list.Load(PathJoin(dir_, L"broken.xml").c_str()));
    EXPECT_FALSE(list.Load(nullptr));
    EXPECT_EQ(list.GetCount(), 5);
}

// The configuration the built Uninstall.exe carries, as its authored documents give it.
TEST_F(ConfigFiles, TheUninstallersOwnConfigurationHoldsTheAuthoredRecords)
{
    ASSERT_TRUE(Load7z(BinFile(L"7z.dll")));
    HMODULE module = LoadLibraryExW(BinFile(L"Uninstall.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    auto* config = new CSetupConfig();
    ASSERT_TRUE(config->InitConfig(module, 209, L"SETUPCONFIG", L"papyr.vtmprj"));
    FreeLibrary(module);

    wchar_t text[MAX_PATH];
    EXPECT_TRUE(config->GetVersion(text, MAX_PATH));
    EXPECT_STREQ(text, L"1.2.1.8888");
    EXPECT_EQ(config->GetMinimizeSpace(), 200);
    EXPECT_EQ(config->GetFileCount(), 200);
    EXPECT_TRUE(config->GetMainApp(text, MAX_PATH));
    EXPECT_STREQ(text, L"kelvosrv.exe");
    EXPECT_EQ(config->GetRegAppPathRoot(), HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(config->GetRegAppPathSubKey(text, MAX_PATH));
    EXPECT_STREQ(text, L"SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\dovirad.exe");
    EXPECT_TRUE(config->GetRegAppPathValue(text, MAX_PATH));
    EXPECT_STREQ(text, L"Path");

    ASSERT_EQ(config->GetCloseProgramCount(), 2);
    const wchar_t* classes[] = {L"DoviradMessageWnd", L"DoviradDeskWidgetWnd"};
    for (int i = 0; i < 2; ++i) {
        CloseProgramRecord record;
        ASSERT_TRUE(config->GetCloseProgram(i, &record));
        EXPECT_STREQ(record.windowClass, classes[i]);
        EXPECT_EQ(record.message, 273u);
        EXPECT_EQ(record.wParam, 40011u);
        EXPECT_EQ(record.lParam, 102u);
        EXPECT_EQ(record.timeout, 2000u);
    }
    ASSERT_EQ(config->GetUninstallHookCount(), 1);
    UninstallHookRecord hook;
    ASSERT_TRUE(config->GetUninstallHook(0, &hook));
    EXPECT_STREQ(hook.fileName, L"lpi\\kelvolpi.dll");
    EXPECT_STREQ(hook.type, L"dll");
    EXPECT_STREQ(hook.functionName, L"DS");
    EXPECT_STREQ(hook.parameter, L"");
    EXPECT_STREQ(hook.signType, L"");
    EXPECT_EQ(hook.waitTime, 0u);
    EXPECT_EQ(hook.synchronous, 1u);
    EXPECT_EQ(config->GetInstallHookCount(), 0);
    EXPECT_EQ(config->GetCheckFileCount(), 0);
    ASSERT_EQ(config->UnregisterList().size(), 1u);
    EXPECT_STREQ(config->UnregisterList()[0].fileName, L"Utils\\kelvoshell32.dll");
    EXPECT_STREQ(config->UnregisterList()[0].entry, L"ShellOpen_Vantomi32W");
    EXPECT_STREQ(config->UnregisterList()[0].commandLine, L"--verb=UnInstall");
    EXPECT_EQ(config->UnregisterList()[0].waitTime, 5000u);

    IUninstallRootDirList* roots = config->GetRootDirList();
    ASSERT_EQ(roots->GetCount(), 56);
    int directories = 0;
    for (int i = 0; i < roots->GetCount(); ++i) {
        RootDirEntry entry;
        ASSERT_TRUE(roots->GetEntry(i, &entry));
        directories += entry.isDirectory;
        EXPECT_EQ(entry.optional, 0u);
    }
    EXPECT_EQ(directories, 16);
    for (const wchar_t* name : {L"Uninstall.exe", L"product", L"config.set", L"config.ini", L"utils"}) {
        EXPECT_TRUE(roots->Contains(name)) << name;
    }

    // The extraction directory lies in the temporary directory and goes with the configuration.
    std::vector<std::wstring> extracted;
    ForEachDirectoryEntry(
        GetTempDirectory(),
        [&](const std::wstring& name, DWORD) {
            const std::wstring dir = PathJoin(GetTempDirectory(), name);
            if (FileExists(PathJoin(dir, L"papyr.vtmprj"))) {
                extracted.push_back(dir);
            }
        },
        L"*.tmp");
    ASSERT_EQ(extracted.size(), 1u);
    config->Release();
    EXPECT_FALSE(PathExists(extracted[0]));
}

}  // namespace
