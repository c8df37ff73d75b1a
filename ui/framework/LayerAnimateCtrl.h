// A frame animation over a strip image, stepped by the control's timer; an idle image while stopped.
#pragma once

#include "ui/framework/LayerControlBase.h"

class CImage;

class CLayerAnimateCtrl : public CLayerControlBase {
public:
    CLayerAnimateCtrl() : CLayerControlBase(layer::type::kAnimate) {}

    void Draw(HDC dc) override;
    void OnTimer(UINT id) override;
    void OnLButtonUp(UINT flags, int x, int y, int* handled) override { NotifyCommand(); }

    // Starts from frame 0.
    void Start();
    void Stop();
    bool IsRunning() const { return running_ != 0; }
    int GetFrame() const { return frame_; }

    void SetStrip(CImage* strip) { strip_ = strip; }
    void SetIdleImage(CImage* idle) { idle_ = idle; }
    // Clamped to 20 ... 30000 milliseconds.
    void SetInterval(UINT milliseconds);
    void SetLoop(int loop) { loop_ = loop; }
    void SetReverse(int reverse) { reverse_ = reverse; }

private:
    static constexpr UINT kMinInterval = 20;
    static constexpr UINT kMaxInterval = 30000;

    int FrameCount() const;

    CImage* strip_ = nullptr;
    CImage* idle_ = nullptr;
    UINT interval_ = 100;
    int loop_ = 1;
    int frame_ = 0;
    int running_ = 0;
    int reverse_ = 0;
};
