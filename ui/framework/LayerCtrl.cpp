#include "ui/framework/LayerCtrl.h"

#include "ui/framework/Drawing.h"
#include "ui/framework/Image.h"

void CLayerCtrl::SetChildWindow(HWND window)
{
    child_ = window;
    PlaceChild();
}

void CLayerCtrl::SetImage(CImage* image, int mode, const RECT& cuts)
{
    image_ = image;
    mode_ = mode;
    cuts_ = cuts;
}

void CLayerCtrl::PlaceChild()
{
    if (!IsWindow(child_)) {
        return;
    }
    RECT window = {};
    GetWindowRect(&window);
    MoveWindow(child_, window.left, window.top, window.right - window.left, window.bottom - window.top, TRUE);
}

void CLayerCtrl::OnSize(int left, int top, int right, int bottom) { PlaceChild(); }

void CLayerCtrl::SetVisible(int visible, int redraw)
{
    CLayerControlBase::SetVisible(visible, redraw);
    if (IsWindow(child_)) {
        ShowWindow(child_, visible ? SW_SHOW : SW_HIDE);
    }
}

void CLayerCtrl::Draw(HDC dc)
{
    if (image_ == nullptr || !image_->IsValid()) {
        return;
    }
    switch (mode_) {
    case kNineGrid:
        draw::DrawNineGrid(dc, image_, rect_, cuts_);
        break;
    case kThreePartV:
        draw::DrawThreePartV(dc, image_, rect_, cuts_.left, cuts_.right);
        break;
    case kThreePartH:
        draw::DrawThreePartH(dc, image_, rect_, cuts_.left, cuts_.right);
        break;
    default: {
        const int x = rect_.left + (rect_.right - rect_.left - image_->GetWidth()) / 2;
        const int y = rect_.top + (rect_.bottom - rect_.top - image_->GetHeight()) / 2;
        image_->Draw(dc, x, y, image_->GetWidth(), image_->GetHeight(), 0, 0, image_->GetWidth(),
                     image_->GetHeight());
        break;
    }
    }
}
