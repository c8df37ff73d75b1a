// A progress bar whose shown position creeps ahead of the real one on a timer, drawn as an overlay fill.
#pragma once

#include "ui/framework/LayerProgress.h"

class CLayerProgressSpecial : public CLayerProgress {
public:
    void Draw(HDC dc) override;
    void OnTimer(UINT id) override;
    void SetPos(uint64_t position, int redraw) override;

    // Starts the simulation when the position is below the range.
    void Start();
    void Stop();
    bool IsRunning() const { return running_ != 0; }
    uint64_t GetShownPos() const { return shown_; }
    void SetOverlayColor(COLORREF color) { overlayColor_ = color; }
    void SetStepInterval(UINT milliseconds) { interval_ = milliseconds; }

private:
    static constexpr double kSlowDownFraction = 0.9;
    static constexpr uint64_t kFastSteps = 50;

    COLORREF overlayColor_ = layer::kNoColor;
    UINT interval_ = 200;
    int running_ = 0;
    uint64_t shown_ = 0;
    bool reachedEnd_ = false;
};
