// The common part of every control: fields, geometry, text, state flags and the window link.
#pragma once

#include "ui/framework/ILayerControl.h"
#include "ui/framework/ILayerWindow.h"
#include "ui/framework/LayerConstants.h"

#include <gdiplus.h>

class CLayerControlBase : public ILayerControl {
public:
    explicit CLayerControlBase(int type) : type_(type) {}
    virtual ~CLayerControlBase() = default;
    CLayerControlBase(const CLayerControlBase&) = delete;
    CLayerControlBase& operator=(const CLayerControlBase&) = delete;

    void Release() override { delete this; }
    int GetID() override { return id_; }
    void SetID(int id) override { id_ = id; }
    int GetPage() override { return page_; }
    void SetPage(int page, int redraw) override { page_ = page; }
    int GetTimerID() override { return timerId_; }
    int GetType() override { return type_; }
    int IsVisible() override { return visible_; }
    void SetVisible(int visible, int redraw) override;
    int IsEnabled() override { return enabled_; }
    void SetEnabled(int enabled, int redraw) override;
    RECT* GetWindowRect(RECT* out) override { return RectToWindow(out, rect_); }
    RECT* GetRect(RECT* out) override;
    void GetPos(POINT* out) override;
    void SetRect(const RECT& rect, int redraw) override;
    void SetBounds(int x, int y, int width, int height, int redraw) override;
    int IsTooltipOn() override { return tooltipOn_; }
    void SetTooltipOn(int on) override { tooltipOn_ = on; }
    std::wstring GetTooltip() override { return tooltip_; }
    void SetTooltip(const std::wstring& text) override { tooltip_ = text; }
    std::wstring GetText() override { return text_; }
    void SetText(const std::wstring& text, int redraw) override;
    COLORREF GetTextColor() override { return textColor_; }
    void SetTextColor(COLORREF color, int redraw) override;
    HCURSOR GetCursor() override { return cursor_; }
    void SetCursor(HCURSOR cursor) override { cursor_ = cursor; }
    ILayerControl* GetParent() override { return parent_; }
    void SetParent(ILayerControl* parent) override { parent_ = parent; }
    int HitTest(int x, int y) override;
    void Invalidate(const RECT* rect) override;
    void MoveTo(int x, int y, int redraw) override;
    void OffsetBy(int dx, int dy, int redraw) override;
    void Resize(int width, int height, int redraw) override;
    int IsDragThrough() override { return dragThrough_; }
    void SetDragThrough(int dragThrough) override { dragThrough_ = dragThrough; }
    int IsClickable() override { return clickable_; }
    void SetClickable(int clickable) override;
    RECT* RectToWindow(RECT* out, const RECT& in) override;
    POINT* PointToWindow(POINT* out, const POINT& in) override;
    RECT* RectFromWindow(RECT* out, const RECT& in) override;
    POINT* PointFromWindow(POINT* out, const POINT& in) override;
    void OnInitControl(HWND host) override {}
    void OnDestroy() override {}
    void OnSize(int left, int top, int right, int bottom) override {}
    void OnTimer(UINT id) override {}
    void Draw(HDC dc) override {}
    void OnSetCursor(HWND window, UINT hitTest, UINT message, int* handled) override {}
    void OnMouseMove(UINT flags, int x, int y) override {}
    void OnMouseHover(UINT flags, int x, int y) override {}
    void OnMouseLeave() override {}
    void OnLButtonDown(UINT flags, int x, int y, int* handled) override {}
    void OnLButtonUp(UINT flags, int x, int y, int* handled) override {}
    void OnLButtonDblClk(UINT flags, int x, int y, int* handled) override { OnLButtonDown(flags, x, y, handled); }
    void OnRButtonDown(UINT flags, int x, int y, int* handled) override {}
    void OnRButtonUp(UINT flags, int x, int y, int* handled) override {}

    // Links the control to its window, sets id and flags, then the rectangle (parent coordinates).
    int Create(HWND host, ILayerWindow* owner, int id, int x, int y, int width, int height, int flags);
    int Create(HWND host, ILayerWindow* owner, int id, const RECT& rect, int flags);

    void SetFont(Gdiplus::Font* font) { font_ = font; }
    Gdiplus::Font* GetFont() const { return font_; }
    void SetTextFormat(UINT format) { textFormat_ = format; }
    UINT GetTextFormat() const { return textFormat_; }
    void SetTextMargins(const RECT& margins) { margins_ = margins; }
    void SetShadowColor(COLORREF color, int redraw);
    void SetFlags(int flags) { flags_ = flags; }
    ILayerWindow* GetOwnerWindow() const { return owner_; }
    HWND GetHostWindow() const { return host_; }
    int IsHot() const { return hot_; }
    int IsPressed() const { return pressed_; }

    // The control's timer through its window; the controls pass their own id.
    void StartTimer(UINT id, UINT milliseconds);
    void StopTimer(UINT id);

protected:
    // The control rectangle shrunk by the text margins.
    RECT TextRect() const;
    // Text in the colour given (and the shadow one pixel lower first, when set) at the layer alpha.
    void DrawCaption(HDC dc, const RECT& rect, COLORREF color, bool withShadow) const;
    // Sets or clears hot or pressed; true when the value changed (the control has been invalidated).
    bool ChangeHot(int hot);
    bool ChangePressed(int pressed);
    // Posts WM_COMMAND with the control's id to its window.
    void NotifyCommand();
    // 3 disabled, 2 pressed, 1 hot, else 0.
    int VisualState() const;

    int type_;
    int id_ = 0;
    int page_ = -1;
    std::wstring tooltip_;
    int tooltipOn_ = 0;
    std::wstring text_;
    HWND host_ = nullptr;
    RECT rect_ = {};
    int flags_ = 0;
    int visible_ = 1;
    int hot_ = 0;
    int pressed_ = 0;
    int enabled_ = 1;
    Gdiplus::Font* font_ = nullptr;
    COLORREF textColor_ = 0;
    COLORREF shadowColor_ = layer::kNoColor;
    UINT textFormat_ = layer::text::kDefault;
    RECT margins_ = {};
    ILayerControl* parent_ = nullptr;
    ILayerWindow* owner_ = nullptr;
    int timerId_ = -1;
    int dragThrough_ = 1;
    int clickable_ = 0;
    HCURSOR cursor_ = nullptr;
};
