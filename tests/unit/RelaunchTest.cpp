#include "startup/Relaunch.h"

#include "base/PathUtil.h"
#include "base/ScopedHandle.h"
#include "base/TempName.h"
#include "startup/WorkDirectory.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <regex>
#include <string>

namespace {

struct ParentNameCase {
    const wchar_t* path;
    const wchar_t* name;
};

class ParentName : public testing::TestWithParam<ParentNameCase> {};

TEST_P(ParentName, IsTheFileNameBeforeItsLastDot)
{
    EXPECT_EQ(ParentNameFromPath(GetParam().path), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Paths, ParentName,
                         testing::Values(ParentNameCase{L"C:\\Windows\\explorer.exe", L"explorer"},
                                         ParentNameCase{L"C:\\tools\\my.setup.exe", L"my.setup"},
                                         ParentNameCase{L"C:\\tools\\noext", L""},
                                         ParentNameCase{L"explorer.exe", L""},
                                         ParentNameCase{L"", L""},
                                         ParentNameCase{L"C:\\dir.d\\file", L""}));

TEST(CopyCommandLine, IsTheTailThenTwoSpacesAndTheSwitch)
{
    EXPECT_EQ(BuildCopyCommandLine(L"", false, L""), L"  /READYUNINSTALL");
    EXPECT_EQ(BuildCopyCommandLine(L"/foo \"a b\"", false, L""), L"/foo \"a b\"  /READYUNINSTALL");
}

TEST(CopyCommandLine, SilentRunsCarryTheCallToken)
{
    EXPECT_EQ(BuildCopyCommandLine(L"/S", true, L"tok=="), L"/S  /READYUNINSTALL  /CHK=tok==");
}

TEST(WorkDirectory, NameIsAFreshGuidWithALowerCaseThirdGroup)
{
    const std::wregex form(L"\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9a-f]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}");
    const std::wstring first = FormatTempGuid();
    EXPECT_TRUE(std::regex_match(first, form)) << testing::PrintToString(first);
    EXPECT_NE(first, FormatTempGuid());

    const std::wstring temp = wintest::MakeScratchDir(L"names");
    const std::wstring chosen = ChooseFreshTempPath(temp);
    EXPECT_EQ(PathDirectory(chosen), temp);
    EXPECT_EQ(chosen.substr(chosen.size() - 4), L".tmp");
    EXPECT_FALSE(PathExists(chosen));
}

std::wstring CurrentUserSidText()
{
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    UniqueHandle owner(token);
    char buffer[256] = {};
    DWORD size = sizeof(buffer);
    GetTokenInformation(token, TokenUser, buffer, size, &size);
    LPWSTR text = nullptr;
    ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text);
    UniqueLocalMem textOwner(reinterpret_cast<HLOCAL>(text));
    return text;
}

struct AceExpectation {
    WELL_KNOWN_SID_TYPE wellKnown;  // WinNullSid stands for the running user
    ACCESS_MASK mask;
};

TEST(WorkDirectory, RulesGiveSystemAndAdministratorsFullControlAndTheUserReadAndExecute)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(WorkDirSecurityText().c_str(), SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    UniqueLocalMem owner(descriptor);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);

    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted));
    ASSERT_TRUE(present && dacl != nullptr);
    const AceExpectation expected[] = {{WinLocalSystemSid, FILE_ALL_ACCESS},
                                       {WinBuiltinAdministratorsSid, FILE_ALL_ACCESS},
                                       {WinNullSid, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE}};
    ASSERT_EQ(dacl->AceCount, 3);
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_EQ(ace->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
        EXPECT_EQ(ace->Mask, expected[i].mask) << i;
        PSID sid = &ace->SidStart;
        if (expected[i].wellKnown == WinNullSid) {
            LPWSTR text = nullptr;
            ASSERT_TRUE(ConvertSidToStringSidW(sid, &text));
            UniqueLocalMem textOwner(reinterpret_cast<HLOCAL>(text));
            EXPECT_EQ(std::wstring(text), CurrentUserSidText());
        } else {
            EXPECT_TRUE(IsWellKnownSid(sid, expected[i].wellKnown)) << i;
        }
    }
}

TEST(WorkDirectory, IsCreatedInPlaceOfAFileOfItsName)
{
    const std::wstring dir = PathJoin(wintest::MakeScratchDir(L"acl"), L"{GUID}.tmp");
    wintest::WriteTextFile(dir, "a file in the way");
    ASSERT_TRUE(CreateSecuredWorkDirectory(dir));
    EXPECT_TRUE(DirectoryExists(dir));
}

}  // namespace
