// Calls from other threads reaching the UI thread through the dispatch window, and the delayed calls.
#include "ui/framework/DelayCall.h"
#include "ui/framework/SimpleThread.h"
#include "ui/framework/UIThreadWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Records the thread it ran on and whether it was deleted.
class RecordingCall : public ISimpleBind {
public:
    explicit RecordingCall(std::atomic<bool>* deleted = nullptr) : deleted_(deleted) {}
    ~RecordingCall() override
    {
        if (deleted_ != nullptr) {
            *deleted_ = true;
        }
    }
    void Invoke() override
    {
        ranOn = GetCurrentThreadId();
        ++runs;
    }

    std::atomic<DWORD> ranOn{0};
    std::atomic<int> runs{0};

private:
    std::atomic<bool>* deleted_;
};

// Pumps the calling thread's messages until done() holds or the time is up.
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs = 5000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
    return true;
}

class UIThreadDispatch : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateUIThreadWindow()); }
    void TearDown() override { DestroyUIThreadWindow(); }
};

TEST_F(UIThreadDispatch, ASentCallRunsOnTheUIThreadBeforeTheSenderGoesOn)
{
    RecordingCall call;
    std::atomic<int> seenAfterReturn{-1};
    std::thread worker([&] {
        RunOnUIThread(&call);
        seenAfterReturn = call.runs.load();
    });
    ASSERT_TRUE(PumpUntil([&] { return seenAfterReturn != -1; }));
    worker.join();
    EXPECT_EQ(seenAfterReturn, 1);
    EXPECT_EQ(call.ranOn, GetCurrentThreadId());
}

TEST_F(UIThreadDispatch, APostedCallRunsLaterOnTheUIThreadAndIsDeleted)
{
    std::atomic<bool> deleted{false};
    std::thread worker([&] { PostToUIThread(new RecordingCall(&deleted)); });
    worker.join();
    EXPECT_FALSE(deleted);
    EXPECT_TRUE(PumpUntil([&] { return deleted.load(); }));
}

TEST_F(UIThreadDispatch, CreatingTwiceKeepsTheOneWindowAndNullCallsAreRefused)
{
    CUIThreadWindow* window = GetUIThreadWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(CreateUIThreadWindow());
    EXPECT_EQ(GetUIThreadWindow(), window);
    EXPECT_FALSE(IsWindowVisible(window->Handle()));
    EXPECT_EQ(SendMessageW(window->Handle(), WM_UI_CALL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(window->Handle(), WM_UI_CALL_AND_DELETE, 0, 0), 0);
}

TEST_F(UIThreadDispatch, CallsAfterTheWindowIsGoneAreSkippedNotQueued)
{
    DestroyUIThreadWindow();
    EXPECT_EQ(GetUIThreadWindow(), nullptr);
    RecordingCall sent;
    std::atomic<bool> deleted{false};
    std::thread worker([&] {
        RunOnUIThread(&sent);
        PostToUIThread(new RecordingCall(&deleted));
    });
    worker.join();
    ASSERT_TRUE(CreateUIThreadWindow());
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(sent.runs, 0);
    EXPECT_TRUE(deleted);  // handed over, so freed rather than leaked
}

std::atomic<int> g_threadValue{0};

unsigned __stdcall StoreValue(void* value)
{
    g_threadValue = *static_cast<int*>(value);
    return 0;
}

TEST(SimpleThread, RunsTheRoutineDetached)
{
    static int seven = 7;
    CSimpleThread thread;
    ASSERT_TRUE(thread.Start(StoreValue, &seven));
    EXPECT_NE(thread.ThreadId(), static_cast<unsigned>(-1));
    thread.Detach();
    EXPECT_EQ(thread.Handle(), nullptr);
    const DWORD start = GetTickCount();
    while (g_threadValue == 0 && GetTickCount() - start < 5000) {
        Sleep(1);
    }
    EXPECT_EQ(g_threadValue, 7);
}

struct Fired {
    std::vector<UINT_PTR> ids;
};

void RecordFiring(void* context, UINT_PTR id) { static_cast<Fired*>(context)->ids.push_back(id); }

TEST(DelayCall, OneShotCallsFireOnceAndRepeatingOnesUntilStopped)
{
    Fired once;
    Fired repeated;
    CDelayCall& delay = *CDelayCall::Instance();
    UINT_PTR onceId = delay.Start(10, RecordFiring, &once, false);
    UINT_PTR repeatId = delay.Start(10, RecordFiring, &repeated, true);
    ASSERT_NE(onceId, 0u);
    ASSERT_NE(repeatId, 0u);
    EXPECT_NE(onceId, repeatId);

    ASSERT_TRUE(PumpUntil([&] { return repeated.ids.size() >= 3; }));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(once.ids, std::vector<UINT_PTR>{onceId});

    delay.Stop(&repeatId);
    EXPECT_EQ(repeatId, 0u);
    const size_t stoppedAt = repeated.ids.size();
    PumpUntil([] { return false; }, 60);
    EXPECT_EQ(repeated.ids.size(), stoppedAt);
}

}  // namespace
