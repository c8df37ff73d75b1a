// A button drawn from one icon per state (falling back to the normal icon) with its caption to the right.
#pragma once

#include "ui/framework/LayerControlBase.h"

class CLayerIconButtonCtrl : public CLayerControlBase {
public:
    CLayerIconButtonCtrl() : CLayerControlBase(layer::type::kButton) { dragThrough_ = 0; }

    void Draw(HDC dc) override;
    void OnMouseMove(UINT flags, int x, int y) override { ChangeHot(1); }
    void OnMouseHover(UINT flags, int x, int y) override { ChangeHot(1); }
    void OnMouseLeave() override { ChangeHot(0); }
    void OnLButtonDown(UINT flags, int x, int y, int* handled) override { ChangePressed(1); }
    void OnLButtonUp(UINT flags, int x, int y, int* handled) override;

    // Icons per state (normal, hot, pressed, disabled); the control does not own them.
    void SetIcons(HICON normal, HICON hot, HICON pressed, HICON disabled);
    void SetIconOffset(int x, int y);
    void SetStateTextColors(COLORREF normal, COLORREF hot, COLORREF pressed, COLORREF disabled);

private:
    static constexpr int kTextGap = 3;

    HICON icons_[4] = {};
    POINT iconOffset_ = {};
    COLORREF textColors_[4] = {0, 0, 0, 0};
};
