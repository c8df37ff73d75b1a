// A check box: a box frame of an 8-frame strip (states 0 to 3, plus 4 when checked) at the left edge
// and the caption to its right; a completed click toggles it and posts WM_COMMAND.
#pragma once

#include "ui/framework/LayerButtonCtrl.h"

class CLayerCheckboxCtrl : public CLayerButtonCtrl {
public:
    CLayerCheckboxCtrl();

    void Draw(HDC dc) override;
    void OnLButtonUp(UINT flags, int x, int y, int* handled) override;

    int GetCheck() const { return checked_; }
    void SetCheck(int checked, int redraw);
    int GetAutoToggle() const { return autoToggle_; }
    void SetAutoToggle(int autoToggle) { autoToggle_ = autoToggle; }

private:
    static constexpr int kTextGap = 5;

    int checked_ = 0;
    int autoToggle_ = 1;
};
