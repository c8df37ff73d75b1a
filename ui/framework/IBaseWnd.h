// The uniform handle through which one screen drives another.
#pragma once

#include <windows.h>

// Operations in fixed slot order.
class IBaseWnd {
public:
    // Creates the window when it does not exist, and shows it.
    virtual void Show() = 0;
    virtual void Hide() = 0;
    // The window that receives this screen's result messages.
    virtual void SetNotifyWindow(HWND window) = 0;
    // A second window the screen works with.
    virtual void SetPeerWindow(HWND window) = 0;
    virtual void Destroy() = 0;

protected:
    ~IBaseWnd() = default;
};
