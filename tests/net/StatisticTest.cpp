// Statistics reports of CStatistic as the local test service receives them.
#include "base/PathUtil.h"
#include "base/Registry.h"
#include "config/ProductConstants.h"
#include "crypto/StringCipher.h"
#include "net/Statistic.h"
#include "net/TestService.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

// Machine identifiers that a test can make available or not.
bool g_idsAvailable = true;

bool FakeMidW(wchar_t* buf, int capacity)
{
    if (!g_idsAvailable) {
        return false;
    }
    wcsncpy(buf, L"MID-1", static_cast<size_t>(capacity));
    return true;
}

HRESULT FakeMid2(wchar_t* buf, int capacity)
{
    if (!g_idsAvailable) {
        wcsncpy(buf, L"partial", static_cast<size_t>(capacity));
        return E_FAIL;
    }
    wcsncpy(buf, L"MID2-1", static_cast<size_t>(capacity));
    return S_OK;
}

void SetPid(const wchar_t* pid)
{
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, product::kProductKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created,
                              nullptr),
              ERROR_SUCCESS);
    UniqueHKey key(created);
    RegSetValueExW(key.Get(), product::kPidValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(pid),
                   static_cast<DWORD>((wcslen(pid) + 1) * sizeof(wchar_t)));
}

// The reports of these tests, told from other programs' by their actions.
std::vector<testservice::Request> OwnReports() { return testservice::WaitForRequests("/dot", 0, 0, "action=net_probe"); }

void DeletePid() { RegDeleteValueOf(HKEY_CURRENT_USER, product::kProductKey, product::kPidValue); }

class StatisticTest : public testing::Test {
protected:
    void SetUp() override
    {
        testservice::Reset();
        g_idsAvailable = true;
        DeletePid();
    }
    void TearDown() override { DeletePid(); }

    static CStatistic* NewStatistic() { return new CStatistic(MachineIdSource{&FakeMidW, &FakeMid2}); }
};

TEST_F(StatisticTest, NothingIsSentBeforeTheProductCodeIsSet)
{
    CStatistic* statistic = NewStatistic();
    EXPECT_EQ(statistic->Report(L"net_probe_early", nullptr, true), 0);
    statistic->SetProductCode(L"papyr");
    EXPECT_EQ(statistic->Report(L"", nullptr, true), 0);
    EXPECT_EQ(statistic->Report(nullptr, nullptr, true), 0);
    EXPECT_EQ(statistic->Report(L"net_probe_set", nullptr, true), 1);
    const std::vector<testservice::Request> seen = OwnReports();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].QueryValue("action"), "net_probe_set");
}

TEST_F(StatisticTest, ASynchronousReportFillsEveryPlaceholderAndAppendsTheExtraText)
{
    SetPid(L"chan01");
    CStatistic* statistic = NewStatistic();
    statistic->SetProductCode(L"papyr");
    statistic->SetMainExePath(wintest::BinFile(L"version_sample.dll"));
    ASSERT_EQ(statistic->Report(L"net_probe_from", L"&ex1=&ex2=6.1", true), 1);

    const std::vector<testservice::Request> seen = OwnReports();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "GET");
    EXPECT_EQ(seen[0].path, "/dot");
    EXPECT_EQ(seen[0].query,
              "ptype=kelvo&pid=chan01&type=papyr&action=net_probe_from&appver=7.6.5.4&mid=MID-1&mid2=MID2-1"
              "&ex1=&ex2=6.1");
}

TEST_F(StatisticTest, MissingIdentityValuesAreSentEmptyAndLookedUpAgainAtTheNextReport)
{
    g_idsAvailable = false;
    CStatistic* statistic = NewStatistic();
    statistic->SetProductCode(L"papyr");
    statistic->SetMainExePath(wintest::BinFile(L"NetKit.dll"));
    ASSERT_EQ(statistic->Report(L"net_probe_first", nullptr, true), 1);
    g_idsAvailable = true;
    SetPid(L"chan02");
    ASSERT_EQ(statistic->Report(L"net_probe_second", nullptr, true), 1);

    const std::vector<testservice::Request> seen = OwnReports();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].query, "ptype=kelvo&pid=&type=papyr&action=net_probe_first&appver=&mid=&mid2=");
    EXPECT_EQ(seen[1].query, "ptype=kelvo&pid=chan02&type=papyr&action=net_probe_second&appver=&mid=MID-1&mid2=MID2-1");
}

TEST_F(StatisticTest, AnAsynchronousReportArrivesFromItsOwnThread)
{
    CStatistic* statistic = NewStatistic();
    statistic->SetProductCode(L"papyr");
    EXPECT_EQ(statistic->Report(L"net_probe_async", nullptr, false), 1);
    const std::vector<testservice::Request> seen = testservice::WaitForRequests("/dot", 1, 10000, "action=net_probe");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].QueryValue("action"), "net_probe_async");
}

TEST_F(StatisticTest, AFailedFetchIsReportedToTheCallbackAndAsTheResult)
{
    static int lastSuccess = -1;
    const ReportCallback record = [](const ReportResult* result) { lastSuccess = result->success; };
    CStatistic* statistic = NewStatistic();
    EXPECT_EQ(statistic->Download(L"http://localhost:1/dot?x=1", nullptr, false, 0, record), 0);
    EXPECT_EQ(lastSuccess, 0);
    EXPECT_EQ(statistic->Download(L"http://localhost:18080/dot?x=1", nullptr, false, 0, record), 1);
    EXPECT_EQ(lastSuccess, 1);
    EXPECT_EQ(statistic->Download(L"", nullptr, false, 0, nullptr), 0);
    EXPECT_EQ(statistic->Download(nullptr, nullptr, true, 0, nullptr), 0);
}

TEST_F(StatisticTest, FileVersionsAreTheFixedVersionCutToTheBuffer)
{
    CStatistic* statistic = NewStatistic();
    wchar_t buffer[32] = L"unchanged";
    EXPECT_EQ(statistic->GetFileVersion(wintest::BinFile(L"version_sample.dll").c_str(), buffer, 32), 1);
    EXPECT_STREQ(buffer, L"7.6.5.4");
    EXPECT_EQ(statistic->GetFileVersion(wintest::BinFile(L"version_sample.dll").c_str(), buffer, 4), 1);
    EXPECT_STREQ(buffer, L"7.6");
    EXPECT_EQ(statistic->GetFileVersion(wintest::BinFile(L"NetKit.dll").c_str(), buffer, 32), 0);
    EXPECT_EQ(statistic->GetFileVersion(nullptr, buffer, 32), 0);
}

// The registry of an OEM installation whose statistics host is the test service.
class OemStatisticTest : public StatisticTest {
protected:
    void SetUp() override
    {
        StatisticTest::SetUp();
        Clear();
    }
    void TearDown() override
    {
        Clear();
        StatisticTest::TearDown();
    }

    static std::wstring OemKeyPath() { return PathJoin(product::kAppPathsKey, product::kOemConfigSubKey); }
    static void Clear()
    {
        RegDeleteValueOf(HKEY_LOCAL_MACHINE, product::kAppPathsKey, product::kOemFlagValue, KEY_WOW64_32KEY);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, OemKeyPath().c_str(), KEY_WOW64_32KEY, 0);
    }
    static void SetString(const std::wstring& keyPath, const std::wstring& name, const std::wstring& text)
    {
        HKEY created = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                                  nullptr, &created, nullptr),
                  ERROR_SUCCESS);
        UniqueHKey key(created);
        RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
};

TEST_F(OemStatisticTest, TheOemStatisticsHostReplacesTheHostOfEveryReport)
{
    const wchar_t kForeignUrl[] = L"http://stats-host.invalid:9/dot?oem=1";
    CStatistic* plain = NewStatistic();
    EXPECT_EQ(plain->SendUrl(kForeignUrl, true, nullptr), 0);

    SetString(product::kAppPathsKey, product::kOemFlagValue, L"1");
    SetString(OemKeyPath(), EncryptString(product::kStatisticsService, product::kOemKey),
              EncryptString(L"localhost:18080", product::kOemKey));
    CStatistic* oem = NewStatistic();
    EXPECT_EQ(oem->SendUrl(kForeignUrl, true, nullptr), 1);
    const std::vector<testservice::Request> seen = testservice::WaitForRequests("/dot", 0, 0, "oem=");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].query, "oem=1");
}

}  // namespace
