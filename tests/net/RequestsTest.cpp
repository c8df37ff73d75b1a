// The remote options, the questionnaire configuration and the two form posts, through the process's HTTP
// library against the local test service.
#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/StringUtil.h"
#include "config/ProductConstants.h"
#include "engine/UninstallTask.h"
#include "net/ContactFeedbackPost.h"
#include "net/HttpModule.h"
#include "net/Statistic.h"
#include "net/TestService.h"
#include "net/UninstallConfig.h"
#include "net/UninstallFeedbackConfig.h"
#include "net/UninstallReasonPost.h"
#include "net/UpLoadMgr.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

namespace {

using testservice::Reply;

constexpr char kOptionsPath[] = "/live/intf/getUninstallOptions";
constexpr char kConfigPath[] = "/live/intf/GetConfig";
constexpr char kReasonPath[] = "/live/uninstall/addUninstallReason";
constexpr char kContactPath[] = "/live/uninstall/addFeedback";

void SetPid(const std::wstring& pid)
{
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, product::kProductKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created,
                              nullptr),
              ERROR_SUCCESS);
    UniqueHKey key(created);
    RegSetValueExW(key.Get(), product::kPidValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(pid.c_str()),
                   static_cast<DWORD>((pid.size() + 1) * sizeof(wchar_t)));
}

std::string Utf8(const std::wstring& text) { return ToUtf8(text); }

// An installation whose main executable has the version 7.6.5.4, and the process's HTTP library loaded.
class RequestsTest : public testing::Test {
protected:
    void SetUp() override
    {
        testservice::Reset();
        LoadHttpModule();
        ASSERT_NE(GetHttpModule()->Factory(), nullptr);
        installDir_ = wintest::MakeScratchDir(L"net-install");
        wintest::CopyOrFail(wintest::BinFile(L"version_sample.dll"), PathJoin(installDir_, L"dovirad.exe"));
        UninstallTask().SetInstallDir(installDir_.c_str());
        SetPid(L"  Chan-Ridizir7 \t");
    }
    void TearDown() override
    {
        UninstallTask().SetInstallDir(L"");
        RegDeleteValueOf(HKEY_CURRENT_USER, product::kProductKey, product::kPidValue);
    }

    static void SetReply(const char* path, const std::string& reply)
    {
        testservice::SetReplies(std::string("{\"") + path + "\":" + reply + "}");
    }

    std::wstring installDir_;
};

struct OptionsCase {
    const char* name;
    int status;
    const char* body;
    std::vector<int> options;
    int received;
};

TEST_F(RequestsTest, TheOptionsAnswerDecidesTheListAndTheReceivedFlag)
{
    const std::vector<int> defaults = {1, 2, 3, 4};
    const std::vector<OptionsCase> cases = {
        {"two offers", 200, R"({"errno":0,"data":"2,4"})", {2, 4}, 1},
        {"an empty piece", 200, R"({"errno":0,"data":"1,,3"})", {1, 0, 3}, 1},
        {"pieces without digits", 200, R"({"errno":0,"data":"x,7y"})", {0, 7}, 1},
        {"capital member names", 200, R"({"ERRNO":0,"DATA":"3"})", {3}, 1},
        {"empty data", 200, R"({"errno":0,"data":""})", defaults, 0},
        {"numeric data", 200, R"({"errno":0,"data":24})", defaults, 0},
        {"errno as text", 200, R"({"errno":"0","data":"2"})", defaults, 0},
        {"no errno", 200, R"({"data":"2"})", defaults, 0},
        {"refusal", 200, R"({"errno":5,"data":"2"})", defaults, 0},
        {"empty object", 200, "{}", defaults, 0},
        {"not JSON", 200, R"({"errno":0,"data":"2")", defaults, 0},
        {"server error", 500, R"({"errno":0,"data":"2"})", defaults, 0},
    };
    for (const OptionsCase& c : cases) {
        SetReply(kOptionsPath, Reply(c.status, c.body));
        UninstallFeedbackConfig config;
        config.StartOptionsFetch({1, 2, 3, 4});
        std::vector<int> options = {99};
        const ULONGLONG start = GetTickCount64();
        EXPECT_EQ(config.GetFeedback(options), c.received) << c.name;
        EXPECT_LT(GetTickCount64() - start, 1500u) << c.name;
        EXPECT_EQ(options, c.options) << c.name;
        config.TeardownOptions();
    }
}

TEST_F(RequestsTest, TheOptionsRequestCarriesTheVersionsAndTheTrimmedProductId)
{
    UninstallFeedbackConfig config;
    config.StartOptionsFetch({1, 2, 3, 4});
    std::vector<int> options;
    config.GetFeedback(options);
    const std::vector<testservice::Request> seen = testservice::WaitForRequests(kOptionsPath, 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "GET");
    EXPECT_EQ(seen[0].query, "appver=7.6.5.4&modver=&pid=Chan-Ridizir7");
    config.TeardownOptions();
}

TEST_F(RequestsTest, WithoutAnAnswerGetFeedbackGivesTheDefaultsAfterTwoSeconds)
{
    SetReply(kOptionsPath, Reply(200, R"({"errno":0,"data":"2"})", 3000));
    UninstallFeedbackConfig config;
    config.StartOptionsFetch({1, 2, 3, 4});
    std::vector<int> options;
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(config.GetFeedback(options), 0);
    const ULONGLONG waited = GetTickCount64() - start;
    EXPECT_GE(waited, 1900u);
    EXPECT_LT(waited, 2600u);
    EXPECT_EQ(options, (std::vector<int>{1, 2, 3, 4}));
    config.TeardownOptions();
}

TEST_F(RequestsTest, AnUnsignedOrMissingLibraryGivesNoFactory)
{
    CHttpModule emptyHolder;
    emptyHolder.Load(wintest::BinFile(L"unsigned\\NetKit.dll"));
    EXPECT_EQ(emptyHolder.Factory(), nullptr);
    emptyHolder.Load(wintest::BinFile(L"missing\\NetKit.dll"));
    EXPECT_EQ(emptyHolder.Factory(), nullptr);
}

TEST_F(RequestsTest, WithoutARequestGetFeedbackAnswersAtOnce)
{
    UninstallFeedbackConfig config;
    std::vector<int> options = {99};
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(config.GetFeedback(options), 0);
    EXPECT_LT(GetTickCount64() - start, 100u);
    EXPECT_TRUE(options.empty());
}

struct ConfigCase {
    const char* name;
    const char* body;
    const wchar_t* url;
};

TEST_F(RequestsTest, TheQuestionnaireIsEnabledOnlyByATextStatusWithAUrl)
{
    const std::vector<ConfigCase> cases = {
        {"numeric status", R"({"errno":0,"data":{"uninstall_questionnaire":{"status":1,"url":"http://q/1"}}})", L""},
        {"status 0", R"({"errno":0,"data":{"uninstall_questionnaire":{"status":"0","url":"http://q/2"}}})", L""},
        {"no questionnaire", R"({"errno":0,"data":{}})", L""},
        {"refusal", R"({"errno":1,"data":{"uninstall_questionnaire":{"status":"1","url":"http://q/3"}}})", L""},
        {"enabled", R"({"errno":0,"data":{"uninstall_questionnaire":{"status":"1","url":"http://q/问卷"}}})",
         L"http://q/问卷"},
    };
    for (const ConfigCase& c : cases) {
        testservice::Reset();
        SetReply(kConfigPath, Reply(200, c.body));
        CUninstallConfig config;
        config.RequestConfig();
        ASSERT_EQ(testservice::WaitForRequests(kConfigPath, 1).size(), 1u) << c.name;
        // The answer is handled on the library's thread right after the service sent it.
        const ULONGLONG deadline = GetTickCount64() + 500;
        while (config.GetQuestionnaireUrl() != c.url && GetTickCount64() < deadline) {
            Sleep(20);
        }
        Sleep(100);
        EXPECT_EQ(config.GetQuestionnaireUrl(), c.url) << c.name;
    }
    const std::vector<testservice::Request> seen = testservice::WaitForRequests(kConfigPath, 1, 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].query, "appver=7.6.5.4&modver=&pid=Chan-Ridizir7");
}

TEST_F(RequestsTest, OnlyTheRidizirFamilyGetsTheQuestionnaireConfiguration)
{
    EXPECT_TRUE(CUninstallConfig::IsQuestionnaireProduct(L"ridizir"));
    EXPECT_TRUE(CUninstallConfig::IsQuestionnaireProduct(L"  xRiDiZiR_01 "));
    EXPECT_FALSE(CUninstallConfig::IsQuestionnaireProduct(L"ridiz1r"));
    EXPECT_FALSE(CUninstallConfig::IsQuestionnaireProduct(L""));
}

struct ReasonCase {
    const char* name;
    CUninstallReasonPost::TickedBoxes ticked;
    std::wstring suggestion;
    std::string reason;
    std::wstring suggest;
};

TEST_F(RequestsTest, TheReasonPostCarriesItsFiveFieldsInOrder)
{
    wchar_t machineId[260] = {};
    CStatistic::Instance()->GetMachineId(machineId, 260);
    const std::vector<ReasonCase> cases = {
        {"nothing", {}, L"", "", L"【凯洛】"},
        {"two boxes", {false, true, false, false, true, false}, L"  慢 & slow  \r\n", "12|15", L"【凯洛】  慢 & slow"},
        {"every box", {true, true, true, true, true, true}, L"x", "11|12|13|14|15|16", L"【凯洛】x"},
    };
    for (const ReasonCase& c : cases) {
        testservice::Reset();
        CUninstallReasonPost post;
        post.Send(c.ticked, c.suggestion);
        const std::vector<testservice::Request> seen = testservice::WaitForRequests(kReasonPath, 1);
        ASSERT_EQ(seen.size(), 1u) << c.name;
        EXPECT_EQ(seen[0].method, "POST");
        EXPECT_EQ(seen[0].query, "");
        EXPECT_EQ(seen[0].form, (testservice::Pairs{{"reason", c.reason},
                                                    {"suggest", Utf8(c.suggest)},
                                                    {"appver", "7.6.5.4"},
                                                    {"modever", ""},
                                                    {"mid", Utf8(machineId)}}))
            << c.name;
    }
}

// A window of the test thread that counts the contact form's completion messages.
class NotifyWindow {
public:
    NotifyWindow() { window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr); }
    ~NotifyWindow() { DestroyWindow(window_); }
    HWND Get() const { return window_; }

    // Completion messages that arrive within ms.
    int Count(DWORD ms)
    {
        int count = 0;
        const ULONGLONG deadline = GetTickCount64() + ms;
        while (GetTickCount64() < deadline) {
            MSG msg;
            while (PeekMessageW(&msg, window_, 1244, 1244, PM_REMOVE)) {
                count += msg.wParam == 0 && msg.lParam == 0 ? 1 : 0;
            }
            Sleep(20);
        }
        return count;
    }

private:
    HWND window_;
};

// What the refusal handler received, from the library's thread.
struct Refusals {
    std::mutex lock;
    std::vector<std::wstring> texts;

    CContactFeedbackPost::RefusalHandler Handler()
    {
        return [this](const std::wstring& text) {
            std::lock_guard<std::mutex> guard(lock);
            texts.push_back(text);
        };
    }
    std::vector<std::wstring> Texts()
    {
        std::lock_guard<std::mutex> guard(lock);
        return texts;
    }
};

TEST_F(RequestsTest, TheContactPostCarriesItsFourFieldsAndAnAcceptanceNotifiesTheOwner)
{
    NotifyWindow owner;
    Refusals refusals;
    CContactFeedbackPost post(owner.Get(), 1244, refusals.Handler());
    post.Send(L"", L"", L"", L"me@example.com");
    const std::vector<testservice::Request> seen = testservice::WaitForRequests(kContactPath, 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "POST");
    EXPECT_EQ(seen[0].form,
              (testservice::Pairs{{"phone", ""}, {"weixin", ""}, {"qq", ""}, {"email", "me@example.com"}}));
    EXPECT_EQ(owner.Count(500), 1);
    EXPECT_TRUE(refusals.Texts().empty());
}

TEST_F(RequestsTest, AContactRefusalHandsTheServerTextToTheForm)
{
    const std::vector<std::pair<const char*, std::wstring>> cases = {
        {R"({"errno":3,"msg":"号码有误"})", L"号码有误"},
        {R"({"errno":3})", L""},
        {R"({"msg":"no errno"})", L"no errno"},
    };
    for (const auto& c : cases) {
        SetReply(kContactPath, Reply(200, c.first));
        NotifyWindow owner;
        Refusals refusals;
        CContactFeedbackPost post(owner.Get(), 1244, refusals.Handler());
        post.Send(L"13800000000", L"wx", L"123", L"");
        EXPECT_EQ(owner.Count(400), 0) << c.first;
        EXPECT_EQ(refusals.Texts(), std::vector<std::wstring>{c.second}) << c.first;
    }
}

TEST_F(RequestsTest, FailedOrUnreadableContactAnswersChangeNothing)
{
    const std::vector<std::string> replies = {Reply(500, R"({"errno":0})"), Reply(200, "not json")};
    for (const std::string& reply : replies) {
        SetReply(kContactPath, reply);
        NotifyWindow owner;
        Refusals refusals;
        CContactFeedbackPost post(owner.Get(), 1244, refusals.Handler());
        post.Send(L"1", L"2", L"3", L"4");
        EXPECT_EQ(owner.Count(400), 0) << reply;
        EXPECT_TRUE(refusals.Texts().empty()) << reply;
    }
}

TEST_F(RequestsTest, SubmittingTwiceActsOnlyOnTheSecondAnswer)
{
    testservice::SetReplies(std::string("{\"") + kContactPath + "\":[" + Reply(200, R"({"errno":0})", 500) + "," +
                            Reply(200, R"({"errno":4,"msg":"second"})") + "]}");
    NotifyWindow owner;
    Refusals refusals;
    CContactFeedbackPost post(owner.Get(), 1244, refusals.Handler());
    post.Send(L"1", L"", L"", L"");
    ASSERT_EQ(testservice::WaitForRequests(kContactPath, 1).size(), 1u);
    post.Send(L"2", L"", L"", L"");
    EXPECT_EQ(owner.Count(1200), 0);
    EXPECT_EQ(refusals.Texts(), std::vector<std::wstring>{L"second"});
    EXPECT_EQ(testservice::WaitForRequests(kContactPath, 2).size(), 2u);
}

}  // namespace

namespace {

TEST(UpLoadMgrTest, OnlyASignedLibraryInitialisesTheManagerWhichCanBeTornDownAndLoadedAgain)
{
    CUpLoadMgr manager;
    EXPECT_EQ(manager.Init(nullptr), 0);
    EXPECT_EQ(manager.Init(wintest::BinFile(L"missing\\NetKit.dll").c_str()), 0);
    EXPECT_EQ(manager.Init(wintest::BinFile(L"unsigned\\NetKit.dll").c_str()), 0);
    const std::wstring signedLibrary = wintest::BinFile(L"NetKit.dll");
    EXPECT_EQ(manager.Init(signedLibrary.c_str()), 1);
    EXPECT_EQ(manager.Init(nullptr), 1);
    manager.Uninit();
    EXPECT_EQ(manager.Init(signedLibrary.c_str()), 1);
}

}  // namespace
