#include "ui/framework/LayerAnimateCtrl.h"

#include "ui/framework/Image.h"

#include <algorithm>

int CLayerAnimateCtrl::FrameCount() const { return strip_ != nullptr ? strip_->GetFrameCount() : 1; }

void CLayerAnimateCtrl::SetInterval(UINT milliseconds)
{
    interval_ = std::clamp(milliseconds, kMinInterval, kMaxInterval);
}

void CLayerAnimateCtrl::Start()
{
    frame_ = 0;
    running_ = 1;
    StartTimer(static_cast<UINT>(id_), interval_);
    Invalidate(nullptr);
}

void CLayerAnimateCtrl::Stop()
{
    if (!running_) {
        return;
    }
    running_ = 0;
    StopTimer(static_cast<UINT>(id_));
    Invalidate(nullptr);
}

void CLayerAnimateCtrl::OnTimer(UINT id)
{
    if (!running_) {
        return;
    }
    if (frame_ + 1 < FrameCount()) {
        ++frame_;
    } else if (loop_) {
        frame_ = 0;
    } else {
        Stop();
        if (owner_ != nullptr) {
            owner_->PostMessage(layer::kMsgAnimationDone, static_cast<WPARAM>(id_), 0);
        }
        return;
    }
    Invalidate(nullptr);
}

void CLayerAnimateCtrl::Draw(HDC dc)
{
    const int width = rect_.right - rect_.left;
    const int height = rect_.bottom - rect_.top;
    if (!running_) {
        if (idle_ != nullptr) {
            idle_->Draw(dc, rect_.left, rect_.top, width, height, 0, 0, idle_->GetWidth(), idle_->GetHeight());
        }
        return;
    }
    if (strip_ != nullptr) {
        const int shown = reverse_ ? FrameCount() - 1 - frame_ : frame_;
        strip_->DrawFrame(dc, rect_.left, rect_.top, width, height, shown);
    }
}
