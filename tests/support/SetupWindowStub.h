// A top-level window of the setup programs' main window class, run on a thread of its own, that
// records the activation messages a refused second instance posts to it.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace wintest {

class SetupWindowStub {
public:
    using Params = std::pair<WPARAM, LPARAM>;

    SetupWindowStub();
    ~SetupWindowStub();
    SetupWindowStub(const SetupWindowStub&) = delete;
    SetupWindowStub& operator=(const SetupWindowStub&) = delete;

    bool IsOpen() const { return window_ != nullptr; }
    // The parameters of every activation message handled so far, after letting the window handle
    // all messages posted to it before this call.
    std::vector<Params> Received();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Run();
    void Handle(UINT message, WPARAM wParam, LPARAM lParam);

    std::mutex lock_;
    std::condition_variable changed_;
    bool started_ = false;
    unsigned flushes_ = 0;
    std::vector<Params> received_;
    HWND window_ = nullptr;
    std::thread thread_;
};

}  // namespace wintest
