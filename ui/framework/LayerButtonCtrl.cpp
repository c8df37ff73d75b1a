#include "ui/framework/LayerButtonCtrl.h"

#include "ui/framework/Drawing.h"
#include "ui/framework/Image.h"

void CLayerButtonCtrl::SetStateTextColors(COLORREF normal, COLORREF hot, COLORREF pressed, COLORREF disabled)
{
    textColors_[0] = normal;
    textColors_[1] = hot;
    textColors_[2] = pressed;
    textColors_[3] = disabled;
    stateTextColorsOn_ = 1;
}

void CLayerButtonCtrl::SetStateBackColors(COLORREF normal, COLORREF hot, COLORREF pressed, COLORREF disabled)
{
    backColors_[0] = normal;
    backColors_[1] = hot;
    backColors_[2] = pressed;
    backColors_[3] = disabled;
}

COLORREF CLayerButtonCtrl::StateTextColor() const
{
    return stateTextColorsOn_ ? textColors_[VisualState()] : textColor_;
}

void CLayerButtonCtrl::Draw(HDC dc)
{
    const int state = VisualState();
    if (image_ != nullptr) {
        image_->DrawFrame(dc, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, state);
    } else if (backColors_[state] != layer::kNoColor) {
        draw::FillRect(dc, rect_, backColors_[state], layer::kAlpha);
    }
    DrawCaption(dc, TextRect(), StateTextColor(), true);
}

void CLayerButtonCtrl::OnLButtonUp(UINT flags, int x, int y, int* handled)
{
    ChangePressed(0);
    NotifyCommand();
}
