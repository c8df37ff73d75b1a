#include "ui/framework/LayerControlRootView.h"

namespace {

POINT LocalPoint(ILayerControl* control, int x, int y)
{
    POINT local = {};
    control->PointFromWindow(&local, POINT{x, y});
    return local;
}

}  // namespace

void CLayerControlRootView::OnSetCursor(HWND window, UINT hitTest, UINT message, int* handled)
{
    HCURSOR cursor = hovered_ != nullptr ? hovered_->GetCursor() : nullptr;
    if (cursor != nullptr) {
        ::SetCursor(cursor);
    }
    if (handled != nullptr) {
        *handled = cursor != nullptr;
    }
}

void CLayerControlRootView::HideTooltip()
{
    if (owner_ != nullptr) {
        owner_->ShowTooltip(0, std::wstring());
    }
}

void CLayerControlRootView::UpdateTooltip(ILayerControl* control)
{
    if (owner_ == nullptr) {
        return;
    }
    if (!control->IsTooltipOn()) {
        HideTooltip();
        return;
    }
    const std::wstring text = control->GetTooltip();
    owner_->ShowTooltip(!text.empty(), text);
}

void CLayerControlRootView::OnMouseMove(UINT flags, int x, int y)
{
    ILayerControl* current = ChildAt(x, y);
    if (current != hovered_) {
        if (hovered_ != nullptr) {
            hovered_->OnMouseLeave();
            HideTooltip();
        }
        if (current != nullptr) {
            const POINT local = LocalPoint(current, x, y);
            current->OnMouseHover(flags, local.x, local.y);
            UpdateTooltip(current);
        }
        hovered_ = current;
        return;
    }
    if (current != nullptr) {
        const POINT local = LocalPoint(current, x, y);
        current->OnMouseMove(flags, local.x, local.y);
        UpdateTooltip(current);
    }
}

void CLayerControlRootView::OnMouseLeave()
{
    if (hovered_ != nullptr) {
        hovered_->OnMouseLeave();
    }
    if (pressed_ != nullptr && pressed_ != hovered_) {
        pressed_->OnMouseLeave();
    }
    hovered_ = nullptr;
    pressed_ = nullptr;
    HideTooltip();
}

void CLayerControlRootView::Press(UINT flags, int x, int y, int* handled, bool doubleClick)
{
    ILayerControl* current = ChildAt(x, y);
    if (current != nullptr && current->IsEnabled()) {
        const POINT local = LocalPoint(current, x, y);
        if (doubleClick) {
            current->OnLButtonDblClk(flags, local.x, local.y, handled);
        } else {
            current->OnLButtonDown(flags, local.x, local.y, handled);
        }
        pressed_ = current;
    }
    if (handled != nullptr && (pressed_ == nullptr || pressed_->IsDragThrough())) {
        *handled = 0;
    }
}

void CLayerControlRootView::OnLButtonDown(UINT flags, int x, int y, int* handled)
{
    Press(flags, x, y, handled, false);
}

void CLayerControlRootView::OnLButtonDblClk(UINT flags, int x, int y, int* handled)
{
    Press(flags, x, y, handled, true);
}

void CLayerControlRootView::OnLButtonUp(UINT flags, int x, int y, int* handled)
{
    if (pressed_ == nullptr) {
        return;
    }
    ILayerControl* pressed = pressed_;
    pressed_ = nullptr;
    const POINT local = LocalPoint(pressed, x, y);
    pressed->OnLButtonUp(flags, local.x, local.y, handled);
}
