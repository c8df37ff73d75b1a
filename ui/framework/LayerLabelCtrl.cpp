#include "ui/framework/LayerLabelCtrl.h"

#include "ui/framework/Drawing.h"

void CLayerLabelCtrl::Draw(HDC dc)
{
    if (outlineColor_ == layer::kNoColor) {
        DrawCaption(dc, TextRect(), textColor_, true);
        return;
    }
    if (text_.empty() || font_ == nullptr) {
        return;
    }
    draw::DrawOutlinedText(dc, text_.c_str(), TextRect(), font_, textColor_, outlineColor_, textFormat_,
                           layer::kAlpha);
}

void CLayerLabelCtrl::OnLButtonUp(UINT flags, int x, int y, int* handled)
{
    if (clickable_) {
        NotifyCommand();
    }
}
