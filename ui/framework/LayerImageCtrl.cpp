#include "ui/framework/LayerImageCtrl.h"

#include "base/PathUtil.h"
#include "base/StringUtil.h"
#include "ui/framework/Drawing.h"
#include "ui/framework/Image.h"

CLayerImageCtrl::CLayerImageCtrl() : CLayerControlBase(layer::type::kImage) {}

CLayerImageCtrl::~CLayerImageCtrl() = default;

void CLayerImageCtrl::SetImage(CImage* image, int redraw)
{
    image_ = image;
    if ((flags_ & 1) && image != nullptr) {
        RECT sized = rect_;
        sized.right = sized.left + image->GetWidth();
        sized.bottom = sized.top + image->GetHeight();
        SetRect(sized, 0);
    }
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerImageCtrl::SetImageFile(const std::wstring& path, int force, int redraw)
{
    const bool exists = !path.empty() && FileExists(path);
    if (!force && EqualsNoCase(path, filePath_) && (fileImage_ != nullptr || !exists)) {
        return;
    }
    filePath_ = path;
    fileImage_.reset();
    if (exists) {
        auto loaded = std::make_unique<CImage>();
        if (loaded->LoadFromFile(path) && loaded->IsValid()) {
            fileImage_ = std::move(loaded);
        }
    }
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerImageCtrl::SetNineGrid(const RECT* centre)
{
    nineGrid_ = centre != nullptr ? *centre : RECT{};
    mode_ = kNineGrid;
}

void CLayerImageCtrl::SetThreePartV(int top, int bottomStart)
{
    threePartTop_ = top;
    threePartBottom_ = bottomStart;
    mode_ = kThreePartV;
}

void CLayerImageCtrl::SetThreePartH(int left, int rightStart)
{
    threePartLeft_ = left;
    threePartRight_ = rightStart;
    mode_ = kThreePartH;
}

void CLayerImageCtrl::SetFrame(int index)
{
    frame_ = index;
    mode_ = kOneFrame;
}

const CImage* CLayerImageCtrl::ShownImage() const { return fileImage_ ? fileImage_.get() : image_; }

void CLayerImageCtrl::DrawImage(HDC dc, const CImage& image) const
{
    const int width = rect_.right - rect_.left;
    const int height = rect_.bottom - rect_.top;
    switch (mode_) {
    case kCentered:
        image.Draw(dc, rect_.left + (width - image.GetWidth()) / 2, rect_.top + (height - image.GetHeight()) / 2,
                   image.GetWidth(), image.GetHeight(), 0, 0, image.GetWidth(), image.GetHeight());
        break;
    case kNineGrid:
        draw::DrawNineGrid(dc, &image, rect_, nineGrid_);
        break;
    case kThreePartV:
        draw::DrawThreePartV(dc, &image, rect_, threePartTop_, threePartBottom_);
        break;
    case kThreePartH:
        draw::DrawThreePartH(dc, &image, rect_, threePartLeft_, threePartRight_);
        break;
    case kOneFrame:
        if (frame_ != -1) {
            image.DrawFrame(dc, rect_.left, rect_.top, width, height, frame_);
        }
        break;
    case kStretched:
        image.Draw(dc, rect_.left, rect_.top, width, height, 0, 0, image.GetWidth(), image.GetHeight());
        break;
    }
}

void CLayerImageCtrl::Draw(HDC dc)
{
    if (const CImage* image = ShownImage()) {
        DrawImage(dc, *image);
    }
    DrawCaption(dc, TextRect(), textColor_, true);
}

void CLayerImageCtrl::OnLButtonUp(UINT flags, int x, int y, int* handled)
{
    if (clickable_) {
        NotifyCommand();
    }
}
