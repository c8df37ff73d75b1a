#include "ui/framework/LayerProgressSpecial.h"

#include "ui/framework/Drawing.h"

void CLayerProgressSpecial::Start()
{
    if (position_ >= range_) {
        return;
    }
    shown_ = position_;
    reachedEnd_ = false;
    running_ = 1;
    StartTimer(static_cast<UINT>(id_), interval_);
}

void CLayerProgressSpecial::Stop()
{
    if (!running_) {
        return;
    }
    running_ = 0;
    StopTimer(static_cast<UINT>(id_));
    Invalidate(nullptr);
}

void CLayerProgressSpecial::OnTimer(UINT id)
{
    if (!running_ || range_ == 0) {
        return;
    }
    if (reachedEnd_) {
        // At the end the shown position blinks between the real position and the end.
        shown_ = shown_ == range_ ? position_ : range_;
    } else if (static_cast<double>(position_) / static_cast<double>(range_) <= kSlowDownFraction) {
        shown_ += range_ / kFastSteps;
    } else {
        shown_ += 1;
    }
    if (shown_ >= range_) {
        shown_ = range_;
        reachedEnd_ = true;
    }
    Invalidate(nullptr);
}

void CLayerProgressSpecial::SetPos(uint64_t position, int redraw)
{
    CLayerProgress::SetPos(position, redraw);
    if (shown_ < position_) {
        shown_ = position_;
    }
    if (position_ >= range_) {
        Stop();
    }
}

void CLayerProgressSpecial::Draw(HDC dc)
{
    CLayerProgress::Draw(dc);
    if (!running_ || range_ == 0 || overlayColor_ == layer::kNoColor) {
        return;
    }
    const uint64_t shown = shown_ > range_ ? range_ : shown_;
    const RECT overlay = FillRect(static_cast<double>(shown) / static_cast<double>(range_));
    draw::FillRect(dc, overlay, overlayColor_, layer::kAlpha);
}
