#include "ui/framework/LayerControlGroup.h"

#include "ui/framework/Drawing.h"
#include "ui/framework/Image.h"
#include "ui/framework/LayerAnimateCtrl.h"
#include "ui/framework/LayerCtrl.h"

#include <algorithm>

namespace {

CLayerControlGroup* AsGroup(ILayerControl* control)
{
    return control->GetType() == layer::type::kGroup || control->GetType() == layer::type::kRootView
               ? static_cast<CLayerControlGroup*>(static_cast<CLayerControlBase*>(control))
               : nullptr;
}

CLayerAnimateCtrl* AsAnimation(ILayerControl* control)
{
    return control != nullptr && control->GetType() == layer::type::kAnimate
               ? static_cast<CLayerAnimateCtrl*>(static_cast<CLayerControlBase*>(control))
               : nullptr;
}

}  // namespace

CLayerControlGroup::~CLayerControlGroup()
{
    for (ILayerControl* child : children_) {
        child->Release();
    }
}

bool CLayerControlGroup::PassesPageFilter(ILayerControl* child) const
{
    return page_ == -1 || child->GetPage() == -1 || child->GetPage() == page_;
}

void CLayerControlGroup::SetPage(int page, int redraw)
{
    page_ = page;
    bool shown = true;
    for (ILayerControl* node = this; node != nullptr; node = node->GetParent()) {
        shown = shown && node->IsVisible();
    }
    UpdateNativeWindows(shown);
    if (redraw) {
        InvalidateAll();
    }
}

void CLayerControlGroup::SetVisible(int visible, int redraw)
{
    CLayerControlBase::SetVisible(visible, redraw);
    UpdateNativeWindows(visible != 0 && IsVisible() != 0);
}

void CLayerControlGroup::UpdateNativeWindows(bool shown)
{
    for (ILayerControl* child : children_) {
        const bool childShown = shown && PassesPageFilter(child) && child->IsVisible();
        if (CLayerControlGroup* group = AsGroup(child)) {
            group->UpdateNativeWindows(childShown);
        } else if (child->GetType() == layer::type::kNativeHost) {
            HWND window = static_cast<CLayerCtrl*>(static_cast<CLayerControlBase*>(child))->GetChildWindow();
            if (IsWindow(window)) {
                ShowWindow(window, childShown ? SW_SHOW : SW_HIDE);
            }
        }
    }
}

void CLayerControlGroup::OnSize(int left, int top, int right, int bottom) { rect_ = {left, top, right, bottom}; }

void CLayerControlGroup::OnTimer(UINT id)
{
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        ILayerControl* child = *it;
        if (!PassesPageFilter(child) || !child->IsVisible()) {
            continue;
        }
        if (AsGroup(child) != nullptr) {
            child->OnTimer(id);
        } else if (child->GetTimerID() == static_cast<int>(id)) {
            child->OnTimer(id);
        }
    }
}

void CLayerControlGroup::DrawBackground(HDC dc)
{
    if (backgroundColor_ != layer::kNoColor) {
        draw::FillRect(dc, rect_, backgroundColor_, layer::kAlpha);
    }
    if (backgroundImage_ != nullptr) {
        backgroundImage_->DrawFrame(dc, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top,
                                    0);
    }
}

void CLayerControlGroup::Draw(HDC dc)
{
    if (!IsVisible()) {
        return;
    }
    DrawBackground(dc);
    if (children_.empty()) {
        return;
    }
    POINT oldOrigin = {};
    OffsetViewportOrgEx(dc, rect_.left, rect_.top, &oldOrigin);
    const bool outline = owner_ != nullptr && owner_->GetOutlineMode() != 0;
    for (ILayerControl* child : children_) {
        if (!PassesPageFilter(child) || !child->IsVisible()) {
            continue;
        }
        RECT childRect = {};
        child->GetRect(&childRect);
        if (!RectVisible(dc, &childRect)) {
            continue;
        }
        const int saved = SaveDC(dc);
        child->Draw(dc);
        RestoreDC(dc, saved);
        if (outline) {
            DrawFocusRect(dc, &childRect);
        }
    }
    SetViewportOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
}

void CLayerControlGroup::ForgetInRoot(ILayerControl* child)
{
    CLayerControlGroup* root = GetRootView();
    if (root == nullptr) {
        return;
    }
    if (child == nullptr || root->GetHoverControl() == child) {
        root->SetHoverControl(nullptr);
    }
    if (child == nullptr || root->GetPressedControl() == child) {
        root->SetPressedControl(nullptr);
    }
}

void CLayerControlGroup::AddChild(ILayerControl* child, int)
{
    if (child == nullptr) {
        return;
    }
    child->SetParent(this);
    children_.push_back(child);
    byId_.emplace(child->GetID(), child);
}

void CLayerControlGroup::RemoveChild(ILayerControl* child, int destroy, int redraw)
{
    if (child == nullptr) {
        return;
    }
    ForgetInRoot(child);
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
    byId_.erase(child->GetID());
    if (destroy) {
        child->OnDestroy();
        child->Release();
    }
    if (redraw) {
        InvalidateAll();
    }
}

void CLayerControlGroup::RemoveChildById(int id, int destroy, int redraw)
{
    if (ILayerControl* child = FindChild(id)) {
        RemoveChild(child, destroy, redraw);
    }
}

void CLayerControlGroup::RemoveAll(int redraw)
{
    ForgetInRoot(nullptr);
    std::vector<ILayerControl*> children;
    children.swap(children_);
    byId_.clear();
    for (ILayerControl* child : children) {
        child->OnDestroy();
        child->Release();
    }
    if (redraw) {
        InvalidateAll();
    }
}

ILayerControl* CLayerControlGroup::FindChild(int id)
{
    const auto found = byId_.find(id);
    return found != byId_.end() ? found->second : nullptr;
}

ILayerControl* CLayerControlGroup::ChildAt(int x, int y)
{
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        ILayerControl* child = *it;
        if (!PassesPageFilter(child) || !child->IsVisible() || !child->HitTest(x, y)) {
            continue;
        }
        if (CLayerControlGroup* group = AsGroup(child)) {
            return group->ChildAt(x, y);
        }
        return child;
    }
    return nullptr;
}

CLayerControlGroup* CLayerControlGroup::GetRootView()
{
    ILayerControl* node = this;
    while (node != nullptr && node->GetType() != layer::type::kRootView) {
        node = node->GetParent();
    }
    return node != nullptr ? AsGroup(node) : nullptr;
}

void CLayerControlGroup::SetBackgroundColor(COLORREF color, int redraw)
{
    backgroundColor_ = color;
    if (redraw) {
        InvalidateAll();
    }
}

void CLayerControlGroup::SetBackgroundImage(CImage* image, int redraw)
{
    backgroundImage_ = image;
    if (redraw) {
        InvalidateAll();
    }
}

void CLayerControlGroup::MoveChild(int id, int x, int y, int redraw)
{
    if (ILayerControl* child = FindChild(id)) {
        child->MoveTo(x, y, redraw);
    }
}

void CLayerControlGroup::EnableChild(int id, int enabled, int redraw)
{
    if (ILayerControl* child = FindChild(id)) {
        child->SetEnabled(enabled, redraw);
    }
}

void CLayerControlGroup::ShowChild(int id, int visible, int redraw)
{
    if (ILayerControl* child = FindChild(id)) {
        child->SetVisible(visible, redraw);
    }
}

void CLayerControlGroup::SetChildText(int id, const std::wstring& text, COLORREF color, int redraw)
{
    ILayerControl* child = FindChild(id);
    if (child == nullptr) {
        return;
    }
    if (color != layer::kNoColor) {
        child->SetTextColor(color, 0);
    }
    child->SetText(text, redraw);
}

void CLayerControlGroup::StartChildAnimation(int id)
{
    if (CLayerAnimateCtrl* animation = AsAnimation(FindChild(id))) {
        animation->Start();
    }
}

void CLayerControlGroup::StopChildAnimation(int id)
{
    if (CLayerAnimateCtrl* animation = AsAnimation(FindChild(id))) {
        animation->Stop();
    }
}
