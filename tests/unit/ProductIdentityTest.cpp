#include "config/OemConfig.h"
#include "config/ProductConstants.h"
#include "config/ProductInfo.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/ScopedHandle.h"
#include "base/StringUtil.h"
#include "crypto/StringCipher.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Everything the identity file can change, read through the public queries.
struct Identity {
    std::wstring company = L"Orvane科技";
    std::wstring mainExe = L"dovirad.exe";
    std::wstring name = L"凯洛壁纸";
    int bg = 305;
    int topBg = 300;
    int questionBg = 254;
    int feedbackBg = 322;
    int setBg = 243;
    int titlePic = 236;

    bool operator==(const Identity& o) const
    {
        return std::tie(company, mainExe, name, bg, topBg, questionBg, feedbackBg, setBg, titlePic) ==
               std::tie(o.company, o.mainExe, o.name, o.bg, o.topBg, o.questionBg, o.feedbackBg, o.setBg, o.titlePic);
    }
};

void PrintTo(const Identity& i, std::ostream* os)
{
    *os << testing::PrintToString(i.company) << " " << testing::PrintToString(i.mainExe) << " "
        << testing::PrintToString(i.name) << " " << i.bg << "/" << i.topBg << "/" << i.questionBg << "/"
        << i.feedbackBg << "/" << i.setBg << "/" << i.titlePic;
}

Identity ReadIdentity(const std::wstring& exePath)
{
    Identity i;
    i.company = GetCompany(exePath);
    i.mainExe = GetMainExeName(exePath);
    i.name = GetProductName(exePath);
    i.bg = GetSkinImageId(product::kUninstallBgKey, exePath);
    i.topBg = GetSkinImageId(product::kUninstallTopBgKey, exePath);
    i.questionBg = GetSkinImageId(product::kUninstallQuestionBgKey, exePath);
    i.feedbackBg = GetSkinImageId(product::kUninstallFeedbackBgKey, exePath);
    i.setBg = GetSkinImageId(product::kSetBgKey, exePath);
    i.titlePic = GetSkinImageId(product::kTitlePicKey, exePath);
    return i;
}

std::string EncryptIdentity(const std::wstring& json)
{
    return ToUtf8(EncryptString(json, product::kIdentityKey));
}

struct IdentityCase {
    const char* label;
    std::optional<std::string> fileBytes;  // nothing: no identity file
    Identity expected;
};

void PrintTo(const IdentityCase& c, std::ostream* os) { *os << c.label; }

// A copy of a test program in a scratch folder, with the identity file of the case beside it.
class IdentityFile : public testing::TestWithParam<IdentityCase> {
protected:
    void SetUp() override
    {
        dir_ = wintest::MakeScratchDir(L"identity");
        exePath_ = PathJoin(dir_, L"probe.exe");
        wintest::CopyOrFail(wintest::BinFile(L"probe.exe"), exePath_);
    }
    void TearDown() override { wintest::RemoveTree(dir_); }

    std::wstring IdentityPath() const { return PathJoin(dir_, product::kIdentityFile); }

    std::wstring dir_;
    std::wstring exePath_;
};

TEST_P(IdentityFile, GivesItsValuesOrTheDefaults)
{
    if (GetParam().fileBytes) {
        wintest::WriteTextFile(IdentityPath(), *GetParam().fileBytes);
    }
    EXPECT_EQ(ReadIdentity(exePath_), GetParam().expected);
}

Identity Named(const std::wstring& name)
{
    Identity i;
    i.name = name;
    return i;
}

Identity AllGiven()
{
    Identity i;
    i.company = L"Acme 公司";
    i.mainExe = L"other.exe";
    i.name = L"壁纸 X";
    i.bg = 310;
    i.topBg = 311;
    i.questionBg = 312;
    i.feedbackBg = 313;
    i.setBg = 314;
    i.titlePic = 315;
    return i;
}

INSTANTIATE_TEST_SUITE_P(
    Contents, IdentityFile,
    testing::Values(
        IdentityCase{"NoFile", std::nullopt, Identity{}},
        IdentityCase{"KeysMatchInAnyCase", EncryptIdentity(L"{\"NAME\":\"X\"}"), Named(L"X")},
        IdentityCase{"AllKeys",
                     EncryptIdentity(L"{\"company\":\"Acme 公司\",\"Main_Exe\":\"other.exe\",\"name\":\"壁纸 X\","
                                     L"\"uninstall_bg\":310,\"uninstall_top_bg\":311,\"uninstall_question_bg\":312,"
                                     L"\"uninstall_feedback_bg\":313,\"set_bg\":314,\"title_pic\":315.9}"),
                     AllGiven()},
        IdentityCase{"NumberGivenAsString", EncryptIdentity(L"{\"uninstall_bg\":\"310\"}"), Identity{}},
        IdentityCase{"StringsGivenAsOtherTypes",
                     EncryptIdentity(L"{\"name\":5,\"company\":[\"x\"],\"main_exe\":null,\"uninstall_top_bg\":true}"),
                     Identity{}},
        IdentityCase{"EmptyObject", EncryptIdentity(L"{}"), Identity{}},
        IdentityCase{"EncryptedNonJson", EncryptIdentity(L"name=X"), Identity{}},
        IdentityCase{"PlainJsonNotEncrypted", std::string("{\"name\":\"X\"}"), Identity{}},
        IdentityCase{"NotBase64", std::string("%%%%"), Identity{}},
        IdentityCase{"EmptyFile", std::string(), Identity{}}),
    [](const testing::TestParamInfo<IdentityCase>& info) { return std::string(info.param.label); });

TEST_F(IdentityFile, ThatCannotBeOpenedGivesTheDefaults)
{
    wintest::WriteTextFile(IdentityPath(), EncryptIdentity(L"{\"name\":\"X\"}"));
    ASSERT_EQ(GetProductName(exePath_), L"X");
    UniqueHandle exclusive(
        CreateFileW(IdentityPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(exclusive);
    EXPECT_EQ(ReadIdentity(exePath_), Identity{});
}

TEST_F(IdentityFile, IsReadAgainOnEveryQuery)
{
    wintest::WriteTextFile(IdentityPath(), EncryptIdentity(L"{\"name\":\"First\"}"));
    EXPECT_EQ(GetProductName(exePath_), L"First");
    wintest::WriteTextFile(IdentityPath(), EncryptIdentity(L"{\"name\":\"Second\"}"));
    EXPECT_EQ(GetProductName(exePath_), L"Second");
}

TEST(IdentityFilePath, IsBesideTheExecutable)
{
    EXPECT_EQ(IdentityFilePath(L"C:\\work\\Uninstall.exe"), L"C:\\work\\Uninstall.exe\\..\\product");
    EXPECT_EQ(GetSkinImageId(L"unknown_key"), 0);
}

// The registry of an OEM installation: the App Paths flag and the encrypted pairs below it.
class OemRegistry : public testing::Test {
protected:
    static constexpr wchar_t kStatsUrl[] = L"http://stat.example.com:8080/p.gif?host=stat.example.com:8080&a=1";
    static constexpr BYTE kGuardByte = 'X';
    static constexpr wchar_t kOemUrl[] = L"http://oem.example.net/p.gif?host=oem.example.net&a=1";

    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }

    static void Clear()
    {
        RegDeleteValueOf(HKEY_LOCAL_MACHINE, product::kAppPathsKey, product::kOemFlagValue, KEY_WOW64_32KEY);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, OemKeyPath().c_str(), KEY_WOW64_32KEY, 0);
    }

    static std::wstring OemKeyPath() { return PathJoin(product::kAppPathsKey, product::kOemConfigSubKey); }

    static void SetRaw(const std::wstring& keyPath, const std::wstring& name, DWORD type, const void* data,
                       DWORD bytes)
    {
        HKEY created = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                                  nullptr, &created, nullptr),
                  ERROR_SUCCESS);
        UniqueHKey key(created);
        // Non-zero bytes after the data: the registry adds a terminator that the count left out when the
        // character after the data is zero.
        std::vector<BYTE> guarded(bytes + 2 * sizeof(wchar_t), kGuardByte);
        std::copy_n(static_cast<const BYTE*>(data), bytes, guarded.begin());
        ASSERT_EQ(RegSetValueExW(key.Get(), name.c_str(), 0, type, guarded.data(), bytes), ERROR_SUCCESS);
    }

    static void SetString(const std::wstring& keyPath, const std::wstring& name, const std::wstring& text)
    {
        SetRaw(keyPath, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    static void EnableFlag() { SetString(product::kAppPathsKey, product::kOemFlagValue, L"1"); }

    static void AddStatsPair(const std::wstring& host = L"oem.example.net")
    {
        SetString(OemKeyPath(), EncryptString(product::kStatisticsService, product::kOemKey),
                  EncryptString(host, product::kOemKey));
    }

    static std::wstring Applied(const std::wstring& url = kStatsUrl)
    {
        COemConfig config;
        EXPECT_TRUE(config.Init(product::kOemProductCode));
        return config.ApplyToUrl(product::kStatisticsService, url);
    }
};

TEST_F(OemRegistry, EnabledPairReplacesEveryOccurrenceOfTheHost)
{
    EnableFlag();
    AddStatsPair();
    EXPECT_EQ(Applied(), kOemUrl);
}

TEST_F(OemRegistry, AddressesWithoutAHostStayUnchanged)
{
    EnableFlag();
    AddStatsPair();
    for (const wchar_t* url : {L"stat.example.com/p.gif", L"http://stat.example.com", L"http:///p.gif"}) {
        EXPECT_EQ(Applied(url), url);
    }
}

TEST_F(OemRegistry, OtherServicesAndProductsStayUnchanged)
{
    EnableFlag();
    AddStatsPair();
    COemConfig config;
    ASSERT_TRUE(config.Init(product::kOemProductCode));
    EXPECT_EQ(config.ApplyToUrl(L"feedback", kStatsUrl), kStatsUrl);
    EXPECT_EQ(config.ApplyToUrl(L"STATIS", kStatsUrl), kStatsUrl);

    COemConfig other;
    EXPECT_FALSE(other.Init(product::kProductCode));
    EXPECT_EQ(other.ApplyToUrl(product::kStatisticsService, kStatsUrl), kStatsUrl);
}

TEST_F(OemRegistry, NoKeyAtAllIsStillSetUp)
{
    EXPECT_EQ(Applied(), kStatsUrl);
}

// One form of the "oem_f" value and whether it switches the pairs on.
struct FlagCase {
    const char* label;
    DWORD type;
    std::vector<wchar_t> data;  // empty with REG_NONE: no value at all
    bool enabled;
};

void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.label; }

class OemFlag : public OemRegistry, public testing::WithParamInterface<FlagCase> {};

TEST_P(OemFlag, DecidesWhetherHostsAreReplaced)
{
    const FlagCase& c = GetParam();
    if (c.type != REG_NONE) {
        SetRaw(product::kAppPathsKey, product::kOemFlagValue, c.type, c.data.data(),
               static_cast<DWORD>(c.data.size() * sizeof(wchar_t)));
    }
    AddStatsPair();
    EXPECT_EQ(Applied(), c.enabled ? kOemUrl : kStatsUrl);
}

INSTANTIATE_TEST_SUITE_P(Values, OemFlag,
                         testing::Values(FlagCase{"One", REG_SZ, {L'1', 0}, true},
                                         FlagCase{"OneExpandable", REG_EXPAND_SZ, {L'1', 0}, true},
                                         FlagCase{"Zero", REG_SZ, {L'0', 0}, false},
                                         FlagCase{"Missing", REG_NONE, {}, false},
                                         FlagCase{"OneWithoutTerminator", REG_SZ, {L'1'}, false},
                                         FlagCase{"OneAsBinary", REG_BINARY, {L'1', 0}, false},
                                         FlagCase{"Eleven", REG_SZ, {L'1', L'1', 0}, false}),
                         [](const testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.label); });

// One form of the "statis" pair's data and whether it is taken.
struct PairCase {
    const char* label;
    DWORD type;
    bool terminated;
    bool oddLength;
    bool encrypted;
    bool taken;
};

void PrintTo(const PairCase& c, std::ostream* os) { *os << c.label; }

class OemPair : public OemRegistry, public testing::WithParamInterface<PairCase> {};

TEST_P(OemPair, CountsOnlyTerminatedDecryptableStrings)
{
    const PairCase& c = GetParam();
    EnableFlag();
    const std::wstring host = L"oem.example.net";
    const std::wstring text = c.encrypted ? EncryptString(host, product::kOemKey) : host;
    std::vector<wchar_t> data(text.begin(), text.end());
    data.resize(data.size() + 2, L'\0');
    DWORD bytes = static_cast<DWORD>((text.size() + (c.terminated ? 1 : 0)) * sizeof(wchar_t));
    if (c.oddLength) {
        bytes += 1;
    }
    SetRaw(OemKeyPath(), EncryptString(product::kStatisticsService, product::kOemKey), c.type, data.data(), bytes);
    EXPECT_EQ(Applied(), c.taken ? kOemUrl : kStatsUrl);
}

INSTANTIATE_TEST_SUITE_P(Forms, OemPair,
                         testing::Values(PairCase{"String", REG_SZ, true, false, true, true},
                                         PairCase{"Expandable", REG_EXPAND_SZ, true, false, true, true},
                                         PairCase{"WithoutTerminator", REG_SZ, false, false, true, false},
                                         PairCase{"OddLength", REG_SZ, true, true, true, false},
                                         PairCase{"Binary", REG_BINARY, true, false, true, false},
                                         PairCase{"NotEncrypted", REG_SZ, true, false, false, false}),
                         [](const testing::TestParamInfo<PairCase>& info) { return std::string(info.param.label); });

TEST_F(OemRegistry, UndecryptableNamesAreSkippedAndTheRestKept)
{
    EnableFlag();
    SetString(OemKeyPath(), L"plain-name", EncryptString(L"ignored.example.org", product::kOemKey));
    AddStatsPair();
    EXPECT_EQ(Applied(), kOemUrl);
}

}  // namespace
