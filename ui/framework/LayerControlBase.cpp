#include "ui/framework/LayerControlBase.h"

#include "ui/framework/Drawing.h"

#include <new>

namespace {

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// The window origin of a control: the window rectangle's top-left corner of its parent.
POINT ParentOrigin(ILayerControl* parent)
{
    if (parent == nullptr) {
        return {0, 0};
    }
    RECT window = {};
    parent->GetWindowRect(&window);
    return {window.left, window.top};
}

}  // namespace

void CLayerControlBase::SetVisible(int visible, int redraw)
{
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerControlBase::SetEnabled(int enabled, int redraw)
{
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    if (redraw) {
        Invalidate(nullptr);
    }
}

RECT* CLayerControlBase::GetRect(RECT* out)
{
    *out = rect_;
    return out;
}

void CLayerControlBase::GetPos(POINT* out) { *out = {rect_.left, rect_.top}; }

void CLayerControlBase::SetRect(const RECT& rect, int redraw)
{
    if (SameRect(rect, rect_)) {
        return;
    }
    RECT oldWindow = {};
    RECT newWindow = {};
    RectToWindow(&oldWindow, rect_);
    RectToWindow(&newWindow, rect);
    RECT both = {};
    UnionRect(&both, &oldWindow, &newWindow);
    rect_ = rect;
    OnSize(rect.left, rect.top, rect.right, rect.bottom);
    if (redraw) {
        Invalidate(&both);
    }
}

void CLayerControlBase::SetBounds(int x, int y, int width, int height, int redraw)
{
    SetRect({x, y, x + width, y + height}, redraw);
}

void CLayerControlBase::SetText(const std::wstring& text, int redraw)
{
    if (text == text_) {
        return;
    }
    text_ = text;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerControlBase::SetTextColor(COLORREF color, int redraw)
{
    if (color == textColor_) {
        return;
    }
    textColor_ = color;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerControlBase::SetShadowColor(COLORREF color, int redraw)
{
    if (color == shadowColor_) {
        return;
    }
    shadowColor_ = color;
    if (redraw) {
        Invalidate(nullptr);
    }
}

int CLayerControlBase::HitTest(int x, int y)
{
    RECT window = {};
    GetWindowRect(&window);
    return x >= window.left && x < window.right && y >= window.top && y < window.bottom;
}

void CLayerControlBase::Invalidate(const RECT* rect)
{
    RECT* copy = new (std::nothrow) RECT;
    if (copy != nullptr) {
        if (rect != nullptr) {
            *copy = *rect;
        } else {
            GetWindowRect(copy);
        }
    }
    if (owner_ == nullptr) {
        delete copy;
        return;
    }
    owner_->Redraw(copy, 0);
}

void CLayerControlBase::MoveTo(int x, int y, int redraw)
{
    SetRect({x, y, x + rect_.right - rect_.left, y + rect_.bottom - rect_.top}, redraw);
}

void CLayerControlBase::OffsetBy(int dx, int dy, int redraw)
{
    RECT moved = rect_;
    OffsetRect(&moved, dx, dy);
    SetRect(moved, redraw);
}

void CLayerControlBase::Resize(int width, int height, int redraw)
{
    RECT resized = rect_;
    if (width != -1) {
        resized.right = resized.left + width;
    }
    if (height != -1) {
        resized.bottom = resized.top + height;
    }
    SetRect(resized, redraw);
}

void CLayerControlBase::SetClickable(int clickable)
{
    clickable_ = clickable;
    dragThrough_ = !clickable;
}

RECT* CLayerControlBase::RectToWindow(RECT* out, const RECT& in)
{
    const POINT origin = ParentOrigin(parent_);
    *out = in;
    OffsetRect(out, origin.x, origin.y);
    return out;
}

POINT* CLayerControlBase::PointToWindow(POINT* out, const POINT& in)
{
    const POINT origin = ParentOrigin(parent_);
    *out = {in.x + origin.x, in.y + origin.y};
    return out;
}

RECT* CLayerControlBase::RectFromWindow(RECT* out, const RECT& in)
{
    const POINT origin = ParentOrigin(parent_);
    *out = in;
    OffsetRect(out, -origin.x, -origin.y);
    return out;
}

POINT* CLayerControlBase::PointFromWindow(POINT* out, const POINT& in)
{
    const POINT origin = ParentOrigin(parent_);
    *out = {in.x - origin.x, in.y - origin.y};
    return out;
}

int CLayerControlBase::Create(HWND host, ILayerWindow* owner, int id, int x, int y, int width, int height, int flags)
{
    return Create(host, owner, id, RECT{x, y, x + width, y + height}, flags);
}

int CLayerControlBase::Create(HWND host, ILayerWindow* owner, int id, const RECT& rect, int flags)
{
    host_ = host;
    owner_ = owner;
    SetID(id);
    flags_ = flags;
    OnInitControl(host);
    SetRect(rect, 0);
    return 1;
}

void CLayerControlBase::StartTimer(UINT id, UINT milliseconds)
{
    timerId_ = static_cast<int>(id);
    if (owner_ != nullptr) {
        owner_->SetTimer(id, milliseconds);
    }
}

void CLayerControlBase::StopTimer(UINT id)
{
    timerId_ = -1;
    if (owner_ != nullptr) {
        owner_->KillTimer(id);
    }
}

RECT CLayerControlBase::TextRect() const
{
    return {rect_.left + margins_.left, rect_.top + margins_.top, rect_.right - margins_.right,
            rect_.bottom - margins_.bottom};
}

void CLayerControlBase::DrawCaption(HDC dc, const RECT& rect, COLORREF color, bool withShadow) const
{
    if (text_.empty() || font_ == nullptr) {
        return;
    }
    if (withShadow && shadowColor_ != layer::kNoColor) {
        RECT lower = rect;
        OffsetRect(&lower, 0, 1);
        draw::DrawText(dc, text_.c_str(), lower, font_, shadowColor_, textFormat_, layer::kAlpha);
    }
    draw::DrawText(dc, text_.c_str(), rect, font_, color, textFormat_, layer::kAlpha);
}

bool CLayerControlBase::ChangeHot(int hot)
{
    if (hot_ == hot) {
        return false;
    }
    hot_ = hot;
    Invalidate(nullptr);
    return true;
}

bool CLayerControlBase::ChangePressed(int pressed)
{
    if (pressed_ == pressed) {
        return false;
    }
    pressed_ = pressed;
    Invalidate(nullptr);
    return true;
}

void CLayerControlBase::NotifyCommand()
{
    if (owner_ != nullptr) {
        owner_->PostMessage(WM_COMMAND, MAKEWPARAM(id_, 0), reinterpret_cast<LPARAM>(this));
    }
}

int CLayerControlBase::VisualState() const
{
    if (!enabled_) {
        return layer::state::kDisabled;
    }
    if (pressed_) {
        return layer::state::kPressed;
    }
    return hot_ ? layer::state::kHot : layer::state::kNormal;
}
