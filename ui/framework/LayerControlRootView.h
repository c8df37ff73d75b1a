// The root of a window's control tree: routes the window's mouse messages to the control under the
// pointer, keeps the hovered and the pressed control, and shows the hovered control's tooltip.
#pragma once

#include "ui/framework/LayerControlGroup.h"

class CLayerControlRootView : public CLayerControlGroup {
public:
    CLayerControlRootView() { type_ = layer::type::kRootView; }

    ILayerControl* GetParent() override { return nullptr; }
    void SetParent(ILayerControl*) override {}
    ILayerControl* GetHoverControl() override { return hovered_; }
    void SetHoverControl(ILayerControl* control) override { hovered_ = control; }
    ILayerControl* GetPressedControl() override { return pressed_; }
    void SetPressedControl(ILayerControl* control) override { pressed_ = control; }
    CLayerControlGroup* GetRootView() override { return this; }

    void OnSetCursor(HWND window, UINT hitTest, UINT message, int* handled) override;
    // Coordinates are client coordinates of the window.
    void OnMouseMove(UINT flags, int x, int y) override;
    void OnMouseHover(UINT flags, int x, int y) override {}
    void OnMouseLeave() override;
    void OnLButtonDown(UINT flags, int x, int y, int* handled) override;
    // The release goes to the pressed control wherever the pointer is.
    void OnLButtonUp(UINT flags, int x, int y, int* handled) override;
    void OnLButtonDblClk(UINT flags, int x, int y, int* handled) override;

private:
    void UpdateTooltip(ILayerControl* control);
    void HideTooltip();
    // The control under the point, pressed through press (its own button-down or double-click).
    void Press(UINT flags, int x, int y, int* handled, bool doubleClick);

    ILayerControl* hovered_ = nullptr;
    ILayerControl* pressed_ = nullptr;
};
