// The base of every screen: a borderless top-level window whose client area a control tree draws into
// a 32-bit frame bitmap, shown with per-pixel alpha (layered traits) or painted opaquely. It routes the
// window's messages to the tree and to overridable hooks, lets the user drag the window by any point
// that is not a control, shows tooltips and keeps the controls' timers.
#pragma once

#include "ui/framework/GdiHandles.h"
#include "ui/framework/ILayerWindow.h"
#include "ui/framework/LayerControlRootView.h"
#include "ui/framework/WindowImpl.h"

#include <commctrl.h>

#include <map>
#include <memory>
#include <string>

class CLayerWindowBase : public CWindowImplBase, public ILayerWindow {
public:
    // traits fix the creation styles; WS_EX_LAYERED in them makes the window compose with
    // UpdateLayeredWindow, otherwise it paints in WM_PAINT. className null gives an automatic name.
    explicit CLayerWindowBase(const CWinTraits& traits, const wchar_t* className = nullptr);
    ~CLayerWindowBase() override;

    // Creates the window with the traits' styles: top-level, no owner, default position, no title.
    HWND CreateScreen();
    const CWinTraits& GetTraits() const { return traits_; }
    bool IsLayered() const { return (traits_.exStyle & WS_EX_LAYERED) != 0; }
    CLayerControlRootView* GetRootView() const { return root_.get(); }

    // ILayerWindow
    int GetOutlineMode() override { return outlineMode_; }
    void SetOutlineMode(int mode) override { outlineMode_ = mode; }
    HWND GetHWND() override { return GetHwnd(); }
    void ShowTooltip(int show, const std::wstring& text) override;
    int SetTimer(UINT id, UINT milliseconds) override;
    int KillTimer(UINT id) override;
    void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Redraw(RECT* rect, int full) override;

    void SetDragEnabled(int enabled) { dragEnabled_ = enabled; }
    void SetAntiAliasedText(int on) { antiAliasedText_ = on; }
    // How often each running timer id was started (for inspection).
    const std::map<UINT, int>& Timers() const { return timers_; }
    const std::wstring& GetTooltipText() const { return tooltipText_; }

protected:
    // Hooks, called after the tree got the message.
    virtual void OnCreate() {}
    virtual void OnDestroy() {}
    virtual void OnSize(int left, int top, int width, int height) {}
    virtual void OnTimer(UINT id) {}
    virtual void OnMouseMove(UINT flags, int x, int y) {}
    virtual void OnMouseHover(UINT flags, int x, int y) {}
    virtual void OnMouseLeave() {}
    virtual void OnLButtonDown(UINT flags, int x, int y) {}
    virtual void OnLButtonUp(UINT flags, int x, int y) {}
    virtual void OnLButtonDblClk(UINT flags, int x, int y) {}
    virtual void OnRButtonDown(UINT flags, int x, int y) {}
    virtual void OnRButtonUp(UINT flags, int x, int y) {}
    virtual void OnNcHitTest(int x, int y) {}
    // The cached background layer; by default a conspicuous green every screen replaces.
    virtual void DrawBackground(HDC dc, const RECT& client);
    virtual void DrawUnderlay(HDC dc, const RECT& client) {}
    virtual void DrawControls(HDC dc, const RECT& client);
    virtual void DrawOverlay(HDC dc, const RECT& client) {}
    virtual int TrackMouse();
    // The screen's own messages (commands, private messages, WM_CLOSE), after the framework's.
    virtual bool ProcessScreenMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }

    // A hook clears this to let the message go on to the screen and to default processing.
    void SetHandled(int handled) { handled_ = handled; }
    int IsHandled() const { return handled_; }

    CWndClassInfo& GetWndClassInfo() override { return classInfo_; }
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) final;

private:
    bool DispatchLayerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void HandleCreate();
    void HandleDestroy();
    void HandleMouseLeave();
    LRESULT HandleNcHitTest(LPARAM lParam);
    void HandleMouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void HandlePaint(HDC target);
    void HandleRedraw(RECT* rect);
    // The frame bitmap of the client size, made anew when the size changed; null when it cannot be made.
    HBITMAP FrameBitmap(HDC reference);
    void DrawFrame(HDC dc);
    void RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam);
    TOOLINFOW ToolInfo();

    CWinTraits traits_;
    CWndClassInfo classInfo_;
    int handled_ = 0;
    int outlineMode_ = 0;
    UniqueBitmap frameBitmap_;
    UniqueBitmap backgroundBitmap_;
    int backgroundDirty_ = 1;
    int constantAlpha_ = 255;
    int mouseOutside_ = 1;
    std::unique_ptr<CLayerControlRootView> root_;
    std::map<UINT, int> timers_;
    HWND tooltip_ = nullptr;
    std::wstring tooltipText_;
    int dragEnabled_ = 1;
    int antiAliasedText_ = 0;
};
