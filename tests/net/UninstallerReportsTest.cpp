// The real Uninstall.exe under Wine with the local test service: the start-up reports and the options
// request of a first launch and of the copy, with a signed, an unsigned and no HTTP library.
#include "base/PathUtil.h"
#include "base/Registry.h"
#include "config/ProductConstants.h"
#include "net/TestService.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using wintest::BinFile;

constexpr char kOptionsPath[] = "/live/intf/getUninstallOptions";
// The product id of these tests' installation, which tells their requests from those of other programs.
constexpr wchar_t kPid[] = L"net-e2e-77";
constexpr char kPidQuery[] = "pid=net-e2e-77";

std::vector<testservice::Request> OwnReports()
{
    return testservice::WaitForRequests("/dot", 0, 0, kPidQuery);
}

std::vector<std::string> Actions()
{
    std::vector<std::string> actions;
    for (const testservice::Request& request : OwnReports()) {
        actions.push_back(request.QueryValue("action"));
    }
    return actions;
}

class UninstallerReportsTest : public testing::Test {
protected:
    void SetUp() override
    {
        testservice::Reset();
        installDir_ = L"C:\\Program Files\\Kelvo Papyr";
        wintest::RemoveTree(installDir_);
        CreateDirectoryTree(PathJoin(installDir_, L"Utils"));
        wintest::CopyOrFail(BinFile(L"version_sample.dll"), PathJoin(installDir_, product::kDefaultMainExe));
        wintest::SetInstallDirValue(installDir_);
        HKEY created = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, product::kProductKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created,
                        nullptr);
        UniqueHKey key(created);
        RegSetValueExW(key.Get(), product::kPidValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(kPid), sizeof(kPid));
    }

    // A work directory as a first launch leaves it, with a copy whose configuration is damaged: it reports
    // its start, fails to load the configuration and waits for its failure report before it ends.
    std::wstring PrepareFailingCopy(const std::wstring& name, const std::wstring& httpLibrary)
    {
        const std::wstring dir = wintest::MakeScratchDir(name);
        wintest::CopyOrFail(BinFile(L"uninstall_damaged_config.exe"), PathJoin(dir, L"Uninstall.exe"));
        wintest::CopyOrFail(BinFile(L"7z.dll"), PathJoin(dir, L"7z.dll"));
        if (!httpLibrary.empty()) {
            wintest::CopyOrFail(httpLibrary, PathJoin(dir, L"NetKit.dll"));
        }
        return PathJoin(dir, L"Uninstall.exe");
    }

    std::wstring installDir_;
};

TEST_F(UninstallerReportsTest, AFirstLaunchReportsItsOriginWithEveryPlaceholderFilledBeforeTheCopyStarts)
{
    wintest::CopyOrFail(BinFile(L"Uninstall.exe"), PathJoin(installDir_, L"Uninstall.exe"));
    wintest::CopyOrFail(BinFile(L"7z.dll"), PathJoin(installDir_, product::kArchiveLibrary));
    wintest::CopyOrFail(BinFile(L"NetKit.dll"), PathJoin(installDir_, product::kHttpLibrary));
    ASSERT_EQ(wintest::RunAndWait(L"\"" + PathJoin(installDir_, L"Uninstall.exe") + L"\""), 0);

    // The report waits: it is in the journal when the first launch has ended.
    const std::vector<testservice::Request> seen = OwnReports();
    ASSERT_FALSE(seen.empty());
    const testservice::Request& origin = seen[0];
    EXPECT_EQ(origin.QueryValue("action"), "uninstall_from");
    EXPECT_EQ(origin.QueryValue("ptype"), "kelvo");
    EXPECT_EQ(origin.QueryValue("pid"), "net-e2e-77");
    EXPECT_EQ(origin.QueryValue("type"), "papyr");
    EXPECT_EQ(origin.QueryValue("appver"), "7.6.5.4");
    EXPECT_NE(origin.QueryValue("mid"), "<missing>");
    EXPECT_NE(origin.QueryValue("mid2"), "<missing>");
    EXPECT_EQ(origin.QueryValue("ex1"), "uninst_net_tests");
    EXPECT_NE(origin.QueryValue("ex2").find('.'), std::string::npos);
    EXPECT_TRUE(wintest::WaitForProcessesUnder(GetTempDirectory()));
}

TEST_F(UninstallerReportsTest, TheCopyRequestsTheOptionsAndReportsItsStartAndItsFailure)
{
    wintest::DialogWatcher dialogs;
    const std::wstring copy = PrepareFailingCopy(L"net-copy-signed", BinFile(L"NetKit.dll"));
    ASSERT_EQ(wintest::RunAndWait(L"\"" + copy + L"\" /READYUNINSTALL"), 0);

    const std::vector<testservice::Request> options = testservice::WaitForRequests(kOptionsPath, 1, 0, kPidQuery);
    ASSERT_EQ(options.size(), 1u);
    EXPECT_EQ(options[0].query, "appver=7.6.5.4&modver=&pid=net-e2e-77");
    EXPECT_EQ(Actions(), (std::vector<std::string>{"uninstall_1", "unist_init_fail"}));
    for (const testservice::Request& request : OwnReports()) {
        if (request.QueryValue("action") == "unist_init_fail") {
            EXPECT_EQ(request.QueryValue("{720260B5-154E-483f-A485-0B46C3D6C50D}"), "InitConfigFaile");
        }
    }
}

TEST_F(UninstallerReportsTest, AnUnsignedOrMissingLibraryMakesTheOptionsRequestANoOp)
{
    const std::vector<std::wstring> libraries = {BinFile(L"unsigned\\NetKit.dll"), L""};
    for (const std::wstring& library : libraries) {
        testservice::Reset();
        wintest::DialogWatcher dialogs;
        const std::wstring copy = PrepareFailingCopy(L"net-copy-unsigned", library);
        ASSERT_EQ(wintest::RunAndWait(L"\"" + copy + L"\" /READYUNINSTALL"), 0);
        EXPECT_TRUE(testservice::WaitForRequests(kOptionsPath, 1, 0, kPidQuery).empty());
        EXPECT_EQ(Actions(), (std::vector<std::string>{"uninstall_1", "unist_init_fail"}));
    }
}

}  // namespace
