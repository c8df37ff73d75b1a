#include "ui/framework/LayerCheckboxCtrl.h"

#include "ui/framework/Drawing.h"
#include "ui/framework/Image.h"

CLayerCheckboxCtrl::CLayerCheckboxCtrl() : CLayerButtonCtrl(layer::type::kCheckbox)
{
    textFormat_ = layer::text::kLeftDefault;
}

void CLayerCheckboxCtrl::SetCheck(int checked, int redraw)
{
    if (checked_ == checked) {
        return;
    }
    checked_ = checked;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerCheckboxCtrl::Draw(HDC dc)
{
    int boxWidth = 0;
    if (image_ != nullptr && image_->IsValid()) {
        boxWidth = image_->GetFrameWidth();
        const int height = image_->GetHeight();
        const int top = rect_.top + (rect_.bottom - rect_.top - height) / 2;
        const int frame = VisualState() + (checked_ ? layer::state::kCheckedOffset : 0);
        image_->DrawFrame(dc, rect_.left, top, boxWidth, height, frame);
    }
    if (text_.empty() || font_ == nullptr) {
        return;
    }
    RECT textRect = rect_;
    textRect.left += boxWidth + kTextGap;
    draw::DrawText(dc, text_.c_str(), textRect, font_, textColor_, textFormat_, layer::kAlpha);
}

void CLayerCheckboxCtrl::OnLButtonUp(UINT flags, int x, int y, int* handled)
{
    if (!enabled_) {
        return;
    }
    ChangePressed(0);
    if (autoToggle_) {
        SetCheck(!checked_, 1);
    }
    NotifyCommand();
}
