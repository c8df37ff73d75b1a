// The window side of the control tree: what a control may ask of the window it lives in.
#pragma once

#include <windows.h>

#include <string>

// Operations in fixed slot order; the controls hold a pointer to their window through it.
class ILayerWindow {
public:
    virtual int GetOutlineMode() = 0;
    virtual void SetOutlineMode(int mode) = 0;
    virtual HWND GetHWND() = 0;
    virtual void ShowTooltip(int show, const std::wstring& text) = 0;
    // Starts the window timer id, or counts one more start of a running one (its interval stays).
    virtual int SetTimer(UINT id, UINT milliseconds) = 0;
    // Stops the timer id however often it was started; 0 when it is not running.
    virtual int KillTimer(UINT id) = 0;
    virtual void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Asks for a new frame; rect is a heap RECT in client coordinates (or null for all) that the window frees.
    // full sets whether the background layer is drawn again.
    virtual void Redraw(RECT* rect, int full) = 0;

protected:
    ~ILayerWindow() = default;
};
