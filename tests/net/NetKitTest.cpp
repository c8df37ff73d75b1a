// The HTTP library as the uninstaller uses it, against the local test service.
#include "net/HttpTask.h"
#include "net/TestService.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Records a task's events; can release the task from inside the final event.
class RecordingCallback : public IHttpTaskCallback {
public:
    explicit RecordingCallback(bool releaseOnFinal = false) : releaseOnFinal_(releaseOnFinal) {}

    void OnTaskEvent(IHttpTask* task, const HttpTaskEvent* event) override
    {
        const bool final = event->kind == httpevent::kFinished || event->kind == httpevent::kFailed;
        if (final && releaseOnFinal_) {
            task->Release();
        }
        std::lock_guard<std::mutex> guard(lock_);
        kinds_.push_back(event->kind);
        if (final) {
            final_ = true;
            body_ = event->body != nullptr ? event->body : "<null>";
            status_ = event->statusCode;
            done_.notify_all();
        }
    }

    // True once a final event arrived within timeoutMs.
    bool WaitFinal(DWORD timeoutMs)
    {
        std::unique_lock<std::mutex> guard(lock_);
        return done_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] { return final_; });
    }
    std::vector<int> Kinds()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return kinds_;
    }
    std::string Body()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return body_;
    }
    int Status()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return status_;
    }

private:
    const bool releaseOnFinal_;
    std::mutex lock_;
    std::condition_variable done_;
    std::vector<int> kinds_;
    bool final_ = false;
    std::string body_;
    int status_ = -1;
};

class NetKitTest : public testing::Test {
protected:
    void SetUp() override
    {
        testservice::Reset();
        module_ = LoadLibraryW(wintest::BinFile(L"NetKit.dll").c_str());
        ASSERT_NE(module_, nullptr);
        init_ = reinterpret_cast<HttpInitProc>(GetProcAddress(module_, "HttpInit"));
        uninit_ = reinterpret_cast<HttpUninitProc>(GetProcAddress(module_, "HttpUninit"));
        ASSERT_NE(init_, nullptr);
        ASSERT_NE(uninit_, nullptr);
        factory_ = init_();
        ASSERT_NE(factory_, nullptr);
    }
    void TearDown() override
    {
        if (factory_ != nullptr) {
            uninit_(factory_);
        }
        FreeLibrary(module_);
    }

    // A task set up the way the uninstaller sets up every task.
    IHttpTask* NewTask(IHttpTaskCallback* callback)
    {
        IHttpTask* task = factory_->CreateTask();
        EXPECT_NE(task, nullptr);
        EXPECT_EQ(task->SetOption("ungzip", 0), 1);
        EXPECT_EQ(task->SetOption("gzip", 0), 1);
        task->SetCallback(callback);
        return task;
    }

    HMODULE module_ = nullptr;
    HttpInitProc init_ = nullptr;
    HttpUninitProc uninit_ = nullptr;
    IHttpTaskFactory* factory_ = nullptr;
};

TEST_F(NetKitTest, GetSendsTheQueryInTheUrlAndDeliversTheBody)
{
    testservice::SetReplies("{\"/get\":" + testservice::Reply(200, "{\"errno\":0,\"data\":\"中\"}") + "}");
    RecordingCallback callback;
    IHttpTask* task = NewTask(&callback);
    EXPECT_EQ(task->Start(httpmethod::kGet, L"http://localhost:18080/get?appver=1.2.3.4&pid=abc"), 1);
    ASSERT_TRUE(callback.WaitFinal(5000));
    EXPECT_EQ(callback.Kinds(), (std::vector<int>{httpevent::kStarted, httpevent::kFinished}));
    EXPECT_EQ(callback.Body(), "{\"errno\":0,\"data\":\"中\"}");
    EXPECT_EQ(callback.Status(), 200);
    task->Release();

    const std::vector<testservice::Request> seen = testservice::WaitForRequests("/get", 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "GET");
    EXPECT_EQ(seen[0].query, "appver=1.2.3.4&pid=abc");
    EXPECT_EQ(seen[0].body, "");
}

TEST_F(NetKitTest, PostSendsTheFieldsInOrderAsAUtf8Form)
{
    RecordingCallback callback;
    IHttpTask* task = NewTask(&callback);
    task->AddFieldW(L"wide", L"a&b=c 中文+");
    task->AddField("narrow", "\xE5\x87\xAF x");
    task->AddField("empty", "");
    EXPECT_EQ(task->Start(httpmethod::kPost, L"http://localhost:18080/post?"), 1);
    ASSERT_TRUE(callback.WaitFinal(5000));
    task->Release();

    const std::vector<testservice::Request> seen = testservice::WaitForRequests("/post", 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "POST");
    EXPECT_EQ(seen[0].contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(seen[0].form,
              (testservice::Pairs{{"wide", "a&b=c 中文+"}, {"narrow", "凯 x"}, {"empty", ""}}));
}

TEST_F(NetKitTest, AnErrorStatusEndsInAFailedEvent)
{
    testservice::SetReplies("{\"/broken\":" + testservice::Reply(500, "{\"errno\":0}") + "}");
    RecordingCallback callback;
    IHttpTask* task = NewTask(&callback);
    task->Start(httpmethod::kGet, L"http://localhost:18080/broken");
    ASSERT_TRUE(callback.WaitFinal(5000));
    EXPECT_EQ(callback.Kinds().back(), httpevent::kFailed);
    EXPECT_EQ(callback.Body(), "");
    task->Release();
}

TEST_F(NetKitTest, AnUnreachableServiceEndsInAFailedEventWithinSeconds)
{
    const std::vector<const wchar_t*> urls = {L"http://localhost:1/dot", L"http://192.0.2.1:18080/dot"};
    for (const wchar_t* url : urls) {
        RecordingCallback callback;
        IHttpTask* task = NewTask(&callback);
        const ULONGLONG start = GetTickCount64();
        task->Start(httpmethod::kGet, url);
        ASSERT_TRUE(callback.WaitFinal(8000)) << url;
        EXPECT_LT(GetTickCount64() - start, 8000u) << url;
        EXPECT_EQ(callback.Kinds().back(), httpevent::kFailed) << url;
        task->Release();
    }
}

TEST_F(NetKitTest, ReleaseInsideTheFinalEventIsAllowed)
{
    RecordingCallback callback(true);
    IHttpTask* task = NewTask(&callback);
    task->Start(httpmethod::kGet, L"http://localhost:18080/release-inside");
    ASSERT_TRUE(callback.WaitFinal(5000));
    Sleep(100);
    EXPECT_EQ(callback.Kinds(), (std::vector<int>{httpevent::kStarted, httpevent::kFinished}));
}

TEST_F(NetKitTest, NoEventFollowsTheReleaseOfARunningTask)
{
    testservice::SetReplies("{\"/slow\":" + testservice::Reply(200, "{}", 600) + "}");
    RecordingCallback callback;
    IHttpTask* task = NewTask(&callback);
    task->Start(httpmethod::kGet, L"http://localhost:18080/slow");
    ASSERT_EQ(testservice::WaitForRequests("/slow", 1).size(), 1u);
    task->Release();
    const size_t eventsAtRelease = callback.Kinds().size();
    EXPECT_FALSE(callback.WaitFinal(1500));
    EXPECT_EQ(callback.Kinds().size(), eventsAtRelease);
}

TEST_F(NetKitTest, EachTaskHasItsOwnIdAndStartsOnce)
{
    RecordingCallback first;
    RecordingCallback second;
    IHttpTask* a = NewTask(&first);
    IHttpTask* b = NewTask(&second);
    EXPECT_NE(a->GetId(), b->GetId());
    EXPECT_EQ(a->Start(httpmethod::kGet, L"http://localhost:18080/once"), 1);
    EXPECT_EQ(a->Start(httpmethod::kGet, L"http://localhost:18080/once"), 0);
    EXPECT_EQ(b->Start(7, L"http://localhost:18080/once"), 0);
    ASSERT_TRUE(first.WaitFinal(5000));
    a->Release();
    b->Release();
    EXPECT_EQ(testservice::WaitForRequests("/once", 2, 300).size(), 1u);
}

}  // namespace
