// The program's small window-class layer: class registration (own names, automatic "ATL:%p" names
// and superclasses of system classes), the window procedure that finds the C++ object of a window,
// the current message, default processing and centring.
#pragma once

#include <windows.h>

#include <string>

// Style and extended style a window class is created with.
struct CWinTraits {
    DWORD style;
    DWORD exStyle;
};

// WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_MINIMIZEBOX, the style of every screen.
inline constexpr DWORD kScreenStyle = 0x86020000;
inline constexpr CWinTraits kLayeredScreenTraits = {kScreenStyle, WS_EX_LAYERED};
inline constexpr CWinTraits kOpaqueScreenTraits = {kScreenStyle, 0};
// WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN.
inline constexpr CWinTraits kChildTraits = {0x56000000, 0};

// Describes one window class; a static instance per C++ window class.
struct CWndClassInfo {
    const wchar_t* name;        // null: an automatic name "ATL:%p"
    const wchar_t* superClass;  // a system class to derive from, or null
    UINT style;
    ATOM atom;
    WNDPROC superProc;
    wchar_t autoName[32];
};

class CWindowImplBase {
public:
    CWindowImplBase() = default;
    virtual ~CWindowImplBase();
    CWindowImplBase(const CWindowImplBase&) = delete;
    CWindowImplBase& operator=(const CWindowImplBase&) = delete;

    // Registers the class on first use and creates the window; null when it cannot be created.
    HWND Create(HWND parent, const RECT* rect, const wchar_t* title, DWORD style, DWORD exStyle, UINT id = 0);
    HWND GetHwnd() const { return hwnd_; }
    bool IsWindow() const { return hwnd_ != nullptr && ::IsWindow(hwnd_); }

    // Centres a top-level window over its visible owner, else over the work area of its monitor, kept
    // inside that work area (left and top edges win).
    bool CenterWindow();

    // The class name a window class was registered under (after the first Create).
    static const wchar_t* ClassNameOf(const CWndClassInfo& info);

protected:
    virtual CWndClassInfo& GetWndClassInfo() = 0;
    // Handles a message; false lets default processing run.
    virtual bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // Called after the last message of the window (WM_NCDESTROY).
    virtual void OnFinalMessage() {}

    // Default processing of the message by the class's super procedure.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled.
    LRESULT DefWindowProc();
    const MSG& GetCurrentMessage() const { return current_; }

private:
    static ATOM Register(CWndClassInfo& info);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    MSG current_ = {};
    WNDPROC superProc_ = ::DefWindowProcW;
};

// Centres window over the owner or work area as CWindowImplBase::CenterWindow does.
bool CenterTopLevelWindow(HWND window);

// Cracking of the mouse messages' coordinates (signed 16-bit values).
inline int XFromLParam(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
inline int YFromLParam(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }
