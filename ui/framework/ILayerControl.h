// A window-less control of the layered UI's control tree. Operations in fixed slot order; rectangles are
// relative to the parent unless "window" coordinates (client coordinates of the host window) are named.
// "redraw" arguments ask for an Invalidate of the control when the value changes.
#pragma once

#include <windows.h>

#include <string>

class ILayerControl {
public:
    // Deletes the object.
    virtual void Release() = 0;
    virtual int GetID() = 0;
    virtual void SetID(int id) = 0;
    virtual int GetPage() = 0;
    virtual void SetPage(int page, int redraw) = 0;
    virtual int GetTimerID() = 0;
    virtual int GetType() = 0;
    virtual int IsVisible() = 0;
    virtual void SetVisible(int visible, int redraw) = 0;
    virtual int IsEnabled() = 0;
    virtual void SetEnabled(int enabled, int redraw) = 0;
    virtual RECT* GetWindowRect(RECT* out) = 0;
    virtual RECT* GetRect(RECT* out) = 0;
    virtual void GetPos(POINT* out) = 0;
    virtual void SetRect(const RECT& rect, int redraw) = 0;
    virtual void SetBounds(int x, int y, int width, int height, int redraw) = 0;
    virtual int IsTooltipOn() = 0;
    virtual void SetTooltipOn(int on) = 0;
    virtual std::wstring GetTooltip() = 0;
    virtual void SetTooltip(const std::wstring& text) = 0;
    virtual std::wstring GetText() = 0;
    virtual void SetText(const std::wstring& text, int redraw) = 0;
    virtual COLORREF GetTextColor() = 0;
    virtual void SetTextColor(COLORREF color, int redraw) = 0;
    virtual HCURSOR GetCursor() = 0;
    virtual void SetCursor(HCURSOR cursor) = 0;
    virtual ILayerControl* GetParent() = 0;
    virtual void SetParent(ILayerControl* parent) = 0;
    // Whether a point in window coordinates lies inside (right and bottom edges excluded).
    virtual int HitTest(int x, int y) = 0;
    // Asks the window to redraw a rectangle in window coordinates, or the whole control for null.
    virtual void Invalidate(const RECT* rect) = 0;
    virtual void MoveTo(int x, int y, int redraw) = 0;
    virtual void OffsetBy(int dx, int dy, int redraw) = 0;
    // -1 keeps that dimension.
    virtual void Resize(int width, int height, int redraw) = 0;
    virtual int IsDragThrough() = 0;
    virtual void SetDragThrough(int dragThrough) = 0;
    virtual int IsClickable() = 0;
    virtual void SetClickable(int clickable) = 0;
    virtual RECT* RectToWindow(RECT* out, const RECT& in) = 0;
    virtual POINT* PointToWindow(POINT* out, const POINT& in) = 0;
    virtual RECT* RectFromWindow(RECT* out, const RECT& in) = 0;
    virtual POINT* PointFromWindow(POINT* out, const POINT& in) = 0;
    virtual void OnInitControl(HWND host) = 0;
    virtual void OnDestroy() = 0;
    virtual void OnSize(int left, int top, int right, int bottom) = 0;
    virtual void OnTimer(UINT id) = 0;
    // Draws with the context's viewport origin at the parent's top-left corner.
    virtual void Draw(HDC dc) = 0;
    virtual void OnSetCursor(HWND window, UINT hitTest, UINT message, int* handled) = 0;
    // Mouse coordinates are local to the control.
    virtual void OnMouseMove(UINT flags, int x, int y) = 0;
    virtual void OnMouseHover(UINT flags, int x, int y) = 0;
    virtual void OnMouseLeave() = 0;
    virtual void OnLButtonDown(UINT flags, int x, int y, int* handled) = 0;
    virtual void OnLButtonUp(UINT flags, int x, int y, int* handled) = 0;
    virtual void OnLButtonDblClk(UINT flags, int x, int y, int* handled) = 0;
    virtual void OnRButtonDown(UINT flags, int x, int y, int* handled) = 0;
    virtual void OnRButtonUp(UINT flags, int x, int y, int* handled) = 0;

protected:
    ~ILayerControl() = default;
};
