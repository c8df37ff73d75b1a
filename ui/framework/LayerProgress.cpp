#include "ui/framework/LayerProgress.h"

#include "base/StringUtil.h"
#include "ui/framework/Drawing.h"
#include "ui/framework/Image.h"

namespace {

constexpr double kMinimumFraction = 0.01;

}  // namespace

void CLayerProgress::SetDirection(int direction, int backgroundOnTop)
{
    direction_ = direction;
    backgroundOnTop_ = backgroundOnTop;
}

void CLayerProgress::SetBackground(CImage* image, int cap1, int cap2)
{
    backgroundImage_ = image;
    backgroundCaps_[0] = cap1;
    backgroundCaps_[1] = cap2;
}

void CLayerProgress::SetBackgroundColor(COLORREF color, int redraw)
{
    if (color == backgroundColor_) {
        return;
    }
    backgroundColor_ = color;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerProgress::SetFill(CImage* image, int cap1, int cap2)
{
    fillImage_ = image;
    fillCaps_[0] = cap1;
    fillCaps_[1] = cap2;
}

void CLayerProgress::SetFillColor(COLORREF color, int redraw)
{
    if (color == fillColor_) {
        return;
    }
    fillColor_ = color;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerProgress::SetTiledFill(CImage* image, int gap)
{
    fillImage_ = image;
    tileGap_ = gap;
    tileFill_ = 1;
}

void CLayerProgress::SetRange(uint64_t range, int redraw)
{
    if (range == range_) {
        return;
    }
    range_ = range;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerProgress::SetPos(uint64_t position, int redraw)
{
    if (position == position_) {
        return;
    }
    position_ = position;
    if (redraw) {
        Invalidate(nullptr);
    }
}

void CLayerProgress::DrawBackground(HDC dc) const
{
    if (backgroundImage_ == nullptr) {
        draw::FillRect(dc, rect_, backgroundColor_, layer::kAlpha);
    } else if (IsHorizontal()) {
        draw::DrawThreePartH(dc, backgroundImage_, rect_, backgroundCaps_[0], backgroundCaps_[1]);
    } else {
        draw::DrawThreePartV(dc, backgroundImage_, rect_, backgroundCaps_[0], backgroundCaps_[1]);
    }
}

RECT CLayerProgress::FillRect(double fraction) const
{
    RECT fill = {rect_.left + fillInsets_.left, rect_.top + fillInsets_.top, rect_.right - fillInsets_.right,
                 rect_.bottom - fillInsets_.bottom};
    const int inner = IsHorizontal() ? fill.right - fill.left : fill.bottom - fill.top;
    int length = static_cast<int>(inner * fraction);
    if (length < 0) {
        length = 0;
    }
    switch (direction_) {
    case kLeftToRight:
        fill.right = fill.left + length;
        break;
    case kRightToLeft:
        fill.left = fill.right - length;
        break;
    case kTopToBottom:
        fill.bottom = fill.top + length;
        break;
    default:
        fill.top = fill.bottom - length;
        break;
    }
    return fill;
}

void CLayerProgress::DrawFill(HDC dc, double fraction) const
{
    const RECT fill = FillRect(fraction);
    if (fillImage_ != nullptr && tileFill_) {
        if (IsHorizontal()) {
            draw::DrawTiledH(dc, fillImage_, fill, tileGap_);
        } else {
            draw::DrawTiledV(dc, fillImage_, fill, tileGap_);
        }
    } else if (fillImage_ != nullptr) {
        if (IsHorizontal()) {
            draw::DrawThreePartH(dc, fillImage_, fill, fillCaps_[0], fillCaps_[1]);
        } else {
            draw::DrawThreePartV(dc, fillImage_, fill, fillCaps_[0], fillCaps_[1]);
        }
    } else if (fillColor_ != layer::kNoColor) {
        draw::FillRect(dc, fill, fillColor_, layer::kAlpha);
    }
}

void CLayerProgress::DrawPercentage(HDC dc, double fraction) const
{
    if (!showPercentage_ || font_ == nullptr) {
        return;
    }
    const std::wstring text = FormatString(percentageFormat_.c_str(), fraction * 100.0);
    draw::DrawText(dc, text.c_str(), TextRect(), font_, textColor_, textFormat_, layer::kAlpha);
}

void CLayerProgress::Draw(HDC dc)
{
    if (!backgroundOnTop_) {
        DrawBackground(dc);
    }
    if (range_ != 0 && position_ != 0) {
        const uint64_t value = position_ > range_ ? range_ : position_;
        const double exact = static_cast<double>(value) / static_cast<double>(range_);
        DrawFill(dc, exact < kMinimumFraction ? kMinimumFraction : exact);
        DrawPercentage(dc, exact);
    }
    if (backgroundOnTop_) {
        DrawBackground(dc);
    }
}
