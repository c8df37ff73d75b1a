// A push button drawn from a state strip (normal, hot, pressed, disabled) or from state colours,
// with its caption; a completed press posts WM_COMMAND with its id.
#pragma once

#include "ui/framework/LayerControlBase.h"

class CImage;

class CLayerButtonCtrl : public CLayerControlBase {
public:
    CLayerButtonCtrl() : CLayerButtonCtrl(layer::type::kButton) {}

    void Draw(HDC dc) override;
    void OnMouseMove(UINT flags, int x, int y) override { ChangeHot(1); }
    void OnMouseHover(UINT flags, int x, int y) override { ChangeHot(1); }
    void OnMouseLeave() override { ChangeHot(0); }
    void OnLButtonDown(UINT flags, int x, int y, int* handled) override { ChangePressed(1); }
    void OnLButtonUp(UINT flags, int x, int y, int* handled) override;

    void SetImage(CImage* image) { image_ = image; }
    CImage* GetImage() const { return image_; }
    // Text colours per state (normal, hot, pressed, disabled), used instead of the base text colour.
    void SetStateTextColors(COLORREF normal, COLORREF hot, COLORREF pressed, COLORREF disabled);
    // Background colours per state, used when there is no image.
    void SetStateBackColors(COLORREF normal, COLORREF hot, COLORREF pressed, COLORREF disabled);

protected:
    explicit CLayerButtonCtrl(int type) : CLayerControlBase(type) { dragThrough_ = 0; }
    COLORREF StateTextColor() const;

    CImage* image_ = nullptr;
    int stateTextColorsOn_ = 0;
    COLORREF textColors_[4] = {layer::kNoColor, layer::kNoColor, layer::kNoColor, layer::kNoColor};
    COLORREF backColors_[4] = {layer::kNoColor, layer::kNoColor, layer::kNoColor, layer::kNoColor};
};
