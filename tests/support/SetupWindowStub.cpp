#include "support/SetupWindowStub.h"

#include "startup/InstanceNames.h"

namespace wintest {

namespace {

// Posted by Received behind everything already queued; its arrival means the queue ahead is drained.
constexpr UINT kFlushMessage = WM_APP + 1;
constexpr DWORD kFlushTimeoutMs = 10000;

}  // namespace

SetupWindowStub::SetupWindowStub()
{
    thread_ = std::thread(&SetupWindowStub::Run, this);
    std::unique_lock<std::mutex> guard(lock_);
    changed_.wait(guard, [this] { return started_; });
}

SetupWindowStub::~SetupWindowStub()
{
    if (window_ != nullptr) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
    }
    thread_.join();
    UnregisterClassW(instance::kMainWindowClass, GetModuleHandleW(nullptr));
}

std::vector<SetupWindowStub::Params> SetupWindowStub::Received()
{
    std::unique_lock<std::mutex> guard(lock_);
    const unsigned target = flushes_ + 1;
    if (window_ != nullptr && PostMessageW(window_, kFlushMessage, 0, 0)) {
        changed_.wait_for(guard, std::chrono::milliseconds(kFlushTimeoutMs), [&] { return flushes_ >= target; });
    }
    return received_;
}

LRESULT CALLBACK SetupWindowStub::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<SetupWindowStub*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) {
        self->Handle(message, wParam, lParam);
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void SetupWindowStub::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != instance::kActivateMessage && message != kFlushMessage) {
        return;
    }
    std::lock_guard<std::mutex> guard(lock_);
    if (message == kFlushMessage) {
        ++flushes_;
    } else {
        received_.emplace_back(wParam, lParam);
    }
    changed_.notify_all();
}

void SetupWindowStub::Run()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = instance::kMainWindowClass;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, instance::kMainWindowClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                  nullptr, windowClass.hInstance, this);
    {
        std::lock_guard<std::mutex> guard(lock_);
        window_ = window;
        started_ = true;
    }
    changed_.notify_all();
    if (window == nullptr) {
        return;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
}

}  // namespace wintest
