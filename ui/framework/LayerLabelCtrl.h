// A text label, optionally outlined or with a shadow; it posts WM_COMMAND on release only when clickable.
#pragma once

#include "ui/framework/LayerControlBase.h"

class CLayerLabelCtrl : public CLayerControlBase {
public:
    CLayerLabelCtrl() : CLayerControlBase(layer::type::kLabel) { textFormat_ = layer::text::kLeftDefault; }

    void Draw(HDC dc) override;
    void OnLButtonUp(UINT flags, int x, int y, int* handled) override;

    void SetOutlineColor(COLORREF color) { outlineColor_ = color; }

private:
    COLORREF outlineColor_ = layer::kNoColor;
};
