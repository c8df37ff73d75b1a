// A hidden window owned by the UI thread that runs bound calls sent or posted to it from other
// threads, so that windows and controls are only ever touched on the UI thread.
#pragma once

#include "ui/framework/SimpleBind.h"

#include <windows.h>

constexpr UINT WM_UI_CALL = 3002;             // wParam: ISimpleBind*, kept by the sender
constexpr UINT WM_UI_CALL_AND_DELETE = 3003;  // wParam: ISimpleBind*, deleted after the call

class CUIThreadWindow {
public:
    CUIThreadWindow() = default;
    ~CUIThreadWindow();
    CUIThreadWindow(const CUIThreadWindow&) = delete;
    CUIThreadWindow& operator=(const CUIThreadWindow&) = delete;

    bool Create();
    void Destroy();
    HWND Handle() const { return window_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

// Creates the process's dispatch window on the calling thread (answers 1 when it exists already).
BOOL CreateUIThreadWindow();
// Runs the call on the UI thread and returns when it has run; skipped without the window.
void RunOnUIThread(ISimpleBind* call);
// Hands the call to the UI thread, which runs and deletes it later; deleted at once without the window.
void PostToUIThread(ISimpleBind* call);
void DestroyUIThreadWindow();
CUIThreadWindow* GetUIThreadWindow();
