// The engine's driver: one pass on its worker thread, notifications on the UI thread in order,
// the progress values the window sees, detaching, and the per-file progress.
#include "engine/Uninstaller.h"

#include "base/PathUtil.h"
#include "startup/SmartLogger.h"
#include "support/WineTestSupport.h"
#include "ui/framework/UIThreadWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Records every notification with the thread it came on; can act from inside OnProgress.
class RecordingCallback : public IUninstallCallback {
public:
    void OnUninstallStart() override { Record(L"start"); }
    void OnProgress(int percent) override
    {
        Record(std::to_wstring(percent));
        if (onProgress) {
            onProgress(percent);
        }
    }
    void OnUninstallEnd() override { Record(L"end"); }
    void OnRealInstallEnd() override
    {
        realEndThread = GetCurrentThreadId();
        Record(L"real end");
    }

    std::vector<std::wstring> Events()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return events_;
    }
    bool AllOnThread(DWORD thread)
    {
        std::lock_guard<std::mutex> guard(lock_);
        for (size_t i = 0; i < events_.size(); ++i) {
            if (events_[i] != L"real end" && threads_[i] != thread) {
                return false;
            }
        }
        return true;
    }

    std::function<void(int)> onProgress;
    std::atomic<DWORD> realEndThread{0};

private:
    void Record(const std::wstring& event)
    {
        std::lock_guard<std::mutex> guard(lock_);
        events_.push_back(event);
        threads_.push_back(GetCurrentThreadId());
    }

    std::mutex lock_;
    std::vector<std::wstring> events_;
    std::vector<DWORD> threads_;
};

// Pumps this thread's messages until the log shows the end of a pass (or 60 s pass).
bool PumpUntilPassEnds()
{
    const DWORD start = GetTickCount();
    while (wintest::ReadLogText().find(L"re unistinfo ret=1") == std::wstring::npos) {
        if (GetTickCount() - start > 60000) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
    return true;
}

class UninstallerDriver : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteFileW(wintest::LogPath().c_str());
        Logger().SetPath(wintest::LogPath());
        ASSERT_TRUE(CreateUIThreadWindow());
        installDir_ = wintest::MakeScratchDir(L"driver-install");
        engine_.SetInstallDir(installDir_.c_str());
    }
    void TearDown() override { DestroyUIThreadWindow(); }

    // The log lines of the pass, without their time stamps.
    static std::vector<std::wstring> LogLines()
    {
        std::vector<std::wstring> lines;
        const std::wstring text = wintest::ReadLogText();
        for (size_t at = 0; at < text.size();) {
            size_t end = text.find(L"\r\n", at);
            end = end == std::wstring::npos ? text.size() : end;
            const std::wstring line = text.substr(at, end - at);
            if (line.size() > 20 && line[4] == L'-') {
                lines.push_back(line.substr(20));
            }
            at = end + 2;
        }
        return lines;
    }

    std::wstring installDir_;
    CUninstaller engine_;
};

const std::vector<std::wstring> kProgressOfAnEmptyInstallation = {L"start", L"1",  L"4",  L"5",  L"6",   L"7",
                                                                   L"8",     L"9",  L"97", L"98", L"99", L"end",
                                                                   L"real end"};

TEST_F(UninstallerDriver, OnePassNotifiesTheWindowInOrderOnTheUIThreadAndEndsOnTheWorker)
{
    RecordingCallback callback;
    engine_.StartUninstall(&callback);
    ASSERT_TRUE(PumpUntilPassEnds());
    EXPECT_EQ(callback.Events(), kProgressOfAnEmptyInstallation);
    EXPECT_TRUE(callback.AllOnThread(GetCurrentThreadId()));
    EXPECT_NE(callback.realEndThread, GetCurrentThreadId());

    const std::vector<std::wstring> lines = LogLines();
    const std::vector<std::wstring> expected = {
        L"start uninstall thread...", L"start call program", L"start close all processes",
        L"remove desktop shortcuts", L"remove start menu shortcuts", L"remove cef cache",
        L"remove file by registry", L"remove registry", L"remove autorun", L"Delete uninstall registry",
        L"start delete all files in " + installDir_, L"end delete all files in " + installDir_,
        L"start uninstall VaruzorurodiTM.", L"start create runonce bat", L"re unistinfo ret=1"};
    size_t at = 0;
    for (const std::wstring& line : expected) {  // in this order, other lines between allowed
        while (at < lines.size() && lines[at] != line) {
            ++at;
        }
        EXPECT_LT(at, lines.size()) << testing::PrintToString(line) << testing::PrintToString(lines);
    }
}

TEST_F(UninstallerDriver, APassWithoutACallbackRunsEveryStepAndDeliversNothing)
{
    engine_.StartUninstall(nullptr);
    ASSERT_TRUE(PumpUntilPassEnds());
    EXPECT_NE(wintest::ReadLogText().find(L"start create runonce bat"), std::wstring::npos);
}

TEST_F(UninstallerDriver, DetachingStopsEveryLaterNotificationButNotTheSteps)
{
    RecordingCallback callback;
    callback.onProgress = [this](int percent) {
        if (percent == 5) {
            engine_.DetachCallback();
        }
    };
    engine_.StartUninstall(&callback);
    ASSERT_TRUE(PumpUntilPassEnds());
    EXPECT_EQ(callback.Events(), (std::vector<std::wstring>{L"start", L"1", L"4", L"5"}));
    EXPECT_EQ(callback.realEndThread, 0u);
}

TEST_F(UninstallerDriver, ASecondStartDuringThePassOnlyReplacesTheCallback)
{
    RecordingCallback first;
    RecordingCallback second;
    first.onProgress = [&](int percent) {
        if (percent == 4) {
            engine_.StartUninstall(&second);
        }
    };
    engine_.StartUninstall(&first);
    ASSERT_TRUE(PumpUntilPassEnds());
    Sleep(200);
    EXPECT_EQ(first.Events(), (std::vector<std::wstring>{L"start", L"1", L"4"}));
    EXPECT_EQ(second.Events(), (std::vector<std::wstring>{L"5", L"6", L"7", L"8", L"9", L"97", L"98", L"99", L"end",
                                                          L"real end"}));
    const std::wstring log = wintest::ReadLogText();
    EXPECT_NE(log.find(L"start uninstall thread..."), log.rfind(L"start uninstall thread..."));
    EXPECT_EQ(log.find(L"re unistinfo"), log.rfind(L"re unistinfo"));  // one pass only
}

// The callback stays set after a pass, so later reports still reach it.
TEST_F(UninstallerDriver, FileProgressRisesFromTenTo98AndValuesOf100OrMoreArriveAs99)
{
    RecordingCallback callback;
    engine_.StartUninstall(&callback);
    ASSERT_TRUE(PumpUntilPassEnds());
    const size_t passEvents = callback.Events().size();

    engine_.StepFileProgress();  // no files total: nothing to report, no division by zero
    engine_.SetFilesTotal(4);
    for (int i = 0; i < 5; ++i) {
        engine_.StepFileProgress();
    }
    engine_.ReportProgress(100);
    engine_.ReportProgress(150);
    engine_.ReportProgress(-3);
    const std::vector<std::wstring> events = callback.Events();
    EXPECT_EQ(std::vector<std::wstring>(events.begin() + passEvents, events.end()),
              (std::vector<std::wstring>{L"32", L"54", L"76", L"98", L"98", L"99", L"99", L"-3"}));
}

}  // namespace
