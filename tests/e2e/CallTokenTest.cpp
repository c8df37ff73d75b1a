// The machine-bound call token between a silent first launch and its copy, with the real
// Uninstall.exe: the copy accepts only a token made under this machine's identifier.
#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/ScopedHandle.h"
#include "base/TempName.h"
#include "config/ProductConstants.h"
#include "crypto/StringCipher.h"
#include "support/WineTestSupport.h"
#include "sysinfo/MachineId.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using wintest::BinFile;

constexpr wchar_t kIllegal[] = L"illegal call\r\n";

std::wstring ThisMachinesMid()
{
    wchar_t mid[MAX_PATH] = {};
    GetMidW(mid, MAX_PATH);
    return mid;
}

// The copies' work directories ("{GUID}.tmp") in the temporary directory.
std::vector<std::wstring> WorkDirectories()
{
    std::vector<std::wstring> dirs;
    WIN32_FIND_DATAW found;
    UniqueFindHandle find(FindFirstFileW(PathJoin(GetTempDirectory(), L"{*}.tmp").c_str(), &found));
    for (bool more = find.IsValid(); more; more = FindNextFileW(find.Get(), &found) != FALSE) {
        dirs.push_back(PathJoin(GetTempDirectory(), found.cFileName));
    }
    return dirs;
}

class CallTokenTest : public testing::Test {
protected:
    void SetUp() override
    {
        installDir_ = L"C:\\Program Files\\Kelvo Papyr";
        wintest::RemoveTree(installDir_);
        wintest::WriteTextFile(PathJoin(installDir_, L"dovirad.exe"), "main program");
        wintest::SetInstallDirValue(installDir_);
        DeleteFileW(wintest::LogPath().c_str());
        before_ = WorkDirectories();
        ASSERT_TRUE(RegWriteStringNoTerminator(HKEY_CURRENT_USER, product::kProductKey, product::kPidValue,
                                               L"vezorire"));
    }
    void TearDown() override { RegDeleteKeyW(HKEY_CURRENT_USER, product::kProductKey); }

    // Runs a copy the way the first launch leaves it, from a work directory of its own.
    // An accepted copy runs to its closing steps, which leave its directory to the restart.
    std::wstring RunCopy(const std::wstring& switches)
    {
        const std::wstring dir = ChooseFreshTempPath(GetTempDirectory());
        CreateDirectoryTree(dir);
        wintest::CopyOrFail(BinFile(L"Uninstall.exe"), PathJoin(dir, L"Uninstall.exe"));
        wintest::CopyOrFail(BinFile(L"7z.dll"), PathJoin(dir, L"7z.dll"));
        EXPECT_EQ(wintest::RunAndWait(L"\"" + PathJoin(dir, L"Uninstall.exe") + L"\" " + switches), 0);
        return dir;
    }

    // Work directories made since the test began.
    std::vector<std::wstring> NewWorkDirectories() const
    {
        std::vector<std::wstring> made;
        for (const std::wstring& dir : WorkDirectories()) {
            if (std::find(before_.begin(), before_.end(), dir) == before_.end()) {
                made.push_back(dir);
            }
        }
        return made;
    }

    std::wstring installDir_;
    std::vector<std::wstring> before_;
};

// The "/CHK" a case hands the copy; made in the test, under this prefix's machine identifier.
enum class Token { Own, OwnOfTheWordInCapitals, OfAnotherMachine, PlainWord, Missing, Empty, NotBase64 };

std::wstring ChkSwitch(Token token)
{
    switch (token) {
    case Token::Own:
        return L"  /CHK=" + EncryptString(L"quorbal", ThisMachinesMid());
    case Token::OwnOfTheWordInCapitals:
        return L"  /CHK=" + EncryptString(L"QUORBAL", ThisMachinesMid());
    case Token::OfAnotherMachine:
        return L"  /CHK=" + EncryptString(L"quorbal", L"0123456789abcdef0123456789abcdef");
    case Token::PlainWord:
        return L"  /CHK=quorbal";
    case Token::Missing:
        return L"";
    case Token::Empty:
        return L"  /CHK=";
    case Token::NotBase64:
        return L"  /CHK=***";
    }
    return L"";
}

struct TokenCase {
    const char* name;
    Token token;
    bool accepted;
};

class CopyTokens : public CallTokenTest, public testing::WithParamInterface<TokenCase> {};

TEST_P(CopyTokens, OnlyATokenOfThisMachineLetsASilentCopyRun)
{
    const std::wstring dir = RunCopy(L"/S  /READYUNINSTALL" + ChkSwitch(GetParam().token));
    const std::wstring log = wintest::ReadLogText();
    EXPECT_EQ(log.find(kIllegal) == std::wstring::npos, GetParam().accepted) << testing::PrintToString(log);
    EXPECT_EQ(wintest::IsScheduledForDeletion(dir), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(Tokens, CopyTokens,
                         testing::Values(TokenCase{"Own", Token::Own, true},
                                         TokenCase{"OwnOfTheWordInCapitals", Token::OwnOfTheWordInCapitals, true},
                                         TokenCase{"OfAnotherMachine", Token::OfAnotherMachine, false},
                                         TokenCase{"PlainWord", Token::PlainWord, false},
                                         TokenCase{"Missing", Token::Missing, false},
                                         TokenCase{"Empty", Token::Empty, false},
                                         TokenCase{"NotBase64", Token::NotBase64, false}),
                         [](const testing::TestParamInfo<TokenCase>& info) { return std::string(info.param.name); });

TEST_F(CallTokenTest, ASilentFirstLaunchFromASignedParentHandsItsCopyATokenTheCopyAccepts)
{
    wintest::CopyOrFail(BinFile(L"Uninstall.exe"), PathJoin(installDir_, product::kUninstallerName));
    wintest::CopyOrFail(BinFile(L"7z.dll"), PathJoin(installDir_, product::kArchiveLibrary));
    ASSERT_EQ(wintest::RunAndWait(L"\"" + PathJoin(installDir_, product::kUninstallerName) + L"\" /S"), 0);
    ASSERT_TRUE(wintest::WaitForProcessesUnder(GetTempDirectory()));
    const std::wstring log = wintest::ReadLogText();
    EXPECT_EQ(log.find(kIllegal), std::wstring::npos) << testing::PrintToString(log);
    EXPECT_EQ(log.find(L"parent process = "), std::wstring::npos);
    const std::vector<std::wstring> workDirs = NewWorkDirectories();
    ASSERT_EQ(workDirs.size(), 1u);
    EXPECT_TRUE(wintest::IsScheduledForDeletion(workDirs[0]));
}

struct ParentCase {
    const char* name;
    const wchar_t* parent;
    bool accepted;
};

class SilentParents : public CallTokenTest, public testing::WithParamInterface<ParentCase> {};

// The first launch judges the program that started it by its signature.
TEST_P(SilentParents, OnlyAProgramSignedByTheMakerMayStartASilentUninstall)
{
    wintest::CopyOrFail(BinFile(L"Uninstall.exe"), PathJoin(installDir_, product::kUninstallerName));
    wintest::CopyOrFail(BinFile(L"7z.dll"), PathJoin(installDir_, product::kArchiveLibrary));
    const std::wstring parent = PathJoin(wintest::MakeScratchDir(L"parent"), L"launcher.exe");
    wintest::CopyOrFail(BinFile(GetParam().parent), parent);
    const std::wstring uninstall = L"\"" + PathJoin(installDir_, product::kUninstallerName) + L"\" /S";
    SetEnvironmentVariableW(L"PROBE_RUN", uninstall.c_str());
    SetEnvironmentVariableW(L"PROBE_JOURNAL", PathJoin(PathDirectory(parent), L"journal.txt").c_str());
    const int exitCode = wintest::RunAndWait(L"\"" + parent + L"\"");
    SetEnvironmentVariableW(L"PROBE_RUN", nullptr);
    ASSERT_EQ(exitCode, 0);
    ASSERT_TRUE(wintest::WaitForProcessesUnder(GetTempDirectory()));

    const std::wstring log = wintest::ReadLogText();
    const std::wstring refusal = L"parent process = " + parent + L"\r\n";
    EXPECT_EQ(log.find(refusal) == std::wstring::npos, GetParam().accepted) << testing::PrintToString(log);
    EXPECT_EQ(log.find(kIllegal) == std::wstring::npos, GetParam().accepted);
    EXPECT_EQ(NewWorkDirectories().size(), GetParam().accepted ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Parents, SilentParents,
                         testing::Values(ParentCase{"Signed", L"probe.exe", true},
                                         ParentCase{"Unsigned", L"probe_unsigned.exe", false},
                                         ParentCase{"SignedByAnother", L"probe_foreign.exe", false}),
                         [](const testing::TestParamInfo<ParentCase>& info) { return std::string(info.param.name); });

}  // namespace
