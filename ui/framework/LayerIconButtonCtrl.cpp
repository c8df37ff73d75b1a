#include "ui/framework/LayerIconButtonCtrl.h"

#include "ui/framework/Drawing.h"
#include "ui/framework/GdiHandles.h"

namespace {

SIZE IconSize(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) {
        return {0, 0};
    }
    UniqueBitmap mask(info.hbmMask);
    UniqueBitmap colour(info.hbmColor);
    BITMAP bitmap = {};
    GetObjectW(mask.Get(), sizeof(bitmap), &bitmap);
    // A monochrome icon's mask holds the AND and the XOR halves one above the other.
    return {bitmap.bmWidth, colour ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

}  // namespace

void CLayerIconButtonCtrl::SetIcons(HICON normal, HICON hot, HICON pressed, HICON disabled)
{
    icons_[0] = normal;
    icons_[1] = hot;
    icons_[2] = pressed;
    icons_[3] = disabled;
}

void CLayerIconButtonCtrl::SetIconOffset(int x, int y) { iconOffset_ = {x, y}; }

void CLayerIconButtonCtrl::SetStateTextColors(COLORREF normal, COLORREF hot, COLORREF pressed, COLORREF disabled)
{
    textColors_[0] = normal;
    textColors_[1] = hot;
    textColors_[2] = pressed;
    textColors_[3] = disabled;
}

void CLayerIconButtonCtrl::Draw(HDC dc)
{
    const int state = VisualState();
    HICON icon = icons_[state] != nullptr ? icons_[state] : icons_[0];
    int textLeft = rect_.left;
    if (icon != nullptr) {
        const SIZE size = IconSize(icon);
        const int x = rect_.left + iconOffset_.x;
        const int y = rect_.top + (rect_.bottom - rect_.top - size.cy) / 2 + iconOffset_.y;
        DrawIconEx(dc, x, y, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
        textLeft = x + size.cx + kTextGap;
    }
    if (text_.empty() || font_ == nullptr) {
        return;
    }
    RECT textRect = rect_;
    textRect.left = textLeft;
    draw::DrawText(dc, text_.c_str(), textRect, font_, textColors_[state], textFormat_, layer::kAlpha);
}

void CLayerIconButtonCtrl::OnLButtonUp(UINT flags, int x, int y, int* handled)
{
    ChangePressed(0);
    NotifyCommand();
}
