// Hosts a native child window: the window follows the control's rectangle and visibility; an optional
// image is drawn under it as the image control draws modes 0 to 3.
#pragma once

#include "ui/framework/LayerControlBase.h"

class CImage;

class CLayerCtrl : public CLayerControlBase {
public:
    enum Mode { kCentered = 0, kNineGrid = 1, kThreePartV = 2, kThreePartH = 3 };

    CLayerCtrl() : CLayerControlBase(layer::type::kNativeHost) {}

    void SetVisible(int visible, int redraw) override;
    void OnSize(int left, int top, int right, int bottom) override;
    void Draw(HDC dc) override;

    void SetChildWindow(HWND window);
    HWND GetChildWindow() const { return child_; }
    void SetImage(CImage* image, int mode, const RECT& cuts);

private:
    void PlaceChild();

    HWND child_ = nullptr;
    CImage* image_ = nullptr;
    int mode_ = kCentered;
    // Nine-grid centre, or (L, R) / (T, B) in left and right for the three-part modes.
    RECT cuts_ = {};
};
