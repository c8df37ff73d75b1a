#include "ui/framework/UIThreadWindow.h"

#include <cstdio>

namespace {

CUIThreadWindow* g_window = nullptr;

// A class name of its own per instance, as a window library's generated classes have.
void MakeClassName(const CUIThreadWindow* owner, wchar_t* name, size_t capacity)
{
    swprintf(name, capacity, L"UIThreadWindow:%p", static_cast<const void*>(owner));
}

}  // namespace

CUIThreadWindow::~CUIThreadWindow() { Destroy(); }

bool CUIThreadWindow::Create()
{
    wchar_t className[64];
    MakeClassName(this, className, 64);
    WNDCLASSEXW windowClass = {sizeof(windowClass)};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
    window_ = CreateWindowExW(0, className, L"", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
    return window_ != nullptr;
}

void CUIThreadWindow::Destroy()
{
    if (window_ == nullptr) {
        return;
    }
    DestroyWindow(window_);
    window_ = nullptr;
    wchar_t className[64];
    MakeClassName(this, className, 64);
    UnregisterClassW(className, GetModuleHandleW(nullptr));
}

LRESULT CALLBACK CUIThreadWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_UI_CALL && message != WM_UI_CALL_AND_DELETE) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    auto* call = reinterpret_cast<ISimpleBind*>(wParam);
    if (call == nullptr) {
        return 0;
    }
    call->Invoke();
    if (message == WM_UI_CALL_AND_DELETE) {
        delete call;
    }
    return 1;
}

BOOL CreateUIThreadWindow()
{
    if (g_window != nullptr) {
        return TRUE;
    }
    auto* window = new CUIThreadWindow();
    if (!window->Create()) {
        delete window;
        return FALSE;
    }
    g_window = window;
    return TRUE;
}

void RunOnUIThread(ISimpleBind* call)
{
    CUIThreadWindow* window = g_window;
    if (window != nullptr) {
        SendMessageW(window->Handle(), WM_UI_CALL, reinterpret_cast<WPARAM>(call), 0);
    }
}

void PostToUIThread(ISimpleBind* call)
{
    CUIThreadWindow* window = g_window;
    if (window == nullptr || !PostMessageW(window->Handle(), WM_UI_CALL_AND_DELETE, reinterpret_cast<WPARAM>(call), 0)) {
        delete call;
    }
}

void DestroyUIThreadWindow()
{
    CUIThreadWindow* window = g_window;
    g_window = nullptr;
    delete window;
}

CUIThreadWindow* GetUIThreadWindow() { return g_window; }
