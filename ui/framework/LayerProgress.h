// A progress bar: a background (three-part image or colour) and a fill of the bar's fraction in one of
// four directions (three-part, tiled or a colour), with an optional percentage text.
#pragma once

#include "ui/framework/LayerControlBase.h"

#include <cstdint>

class CImage;

class CLayerProgress : public CLayerControlBase {
public:
    enum Direction { kLeftToRight = 0, kRightToLeft = 1, kTopToBottom = 2, kBottomToTop = 3 };

    CLayerProgress() : CLayerControlBase(layer::type::kProgress) {}

    void Draw(HDC dc) override;
    virtual void SetPos(uint64_t position, int redraw);

    void SetDirection(int direction, int backgroundOnTop);
    void SetBackground(CImage* image, int cap1, int cap2);
    void SetBackgroundColor(COLORREF color, int redraw);
    void SetFill(CImage* image, int cap1, int cap2);
    void SetFillColor(COLORREF color, int redraw);
    void SetFillInsets(const RECT& insets) { fillInsets_ = insets; }
    void SetTiledFill(CImage* image, int gap);
    void SetRange(uint64_t range, int redraw);
    uint64_t GetRange() const { return range_; }
    uint64_t GetPos() const { return position_; }
    void SetShowPercentage(int show) { showPercentage_ = show; }

protected:
    bool IsHorizontal() const { return direction_ == kLeftToRight || direction_ == kRightToLeft; }
    // The part of the fill area that a fraction of the bar covers along the direction.
    RECT FillRect(double fraction) const;
    // A fill of the given fraction: image (tiled or three-part) or fill colour.
    void DrawFill(HDC dc, double fraction) const;

    uint64_t range_ = 100;
    uint64_t position_ = 0;

private:
    void DrawBackground(HDC dc) const;
    void DrawPercentage(HDC dc, double fraction) const;

    int direction_ = kLeftToRight;
    CImage* backgroundImage_ = nullptr;
    int backgroundCaps_[2] = {0, 0};
    COLORREF backgroundColor_ = layer::kNoColor;
    CImage* fillImage_ = nullptr;
    int fillCaps_[2] = {0, 0};
    COLORREF fillColor_ = layer::kNoColor;
    RECT fillInsets_ = {};
    int tileFill_ = 0;
    int tileGap_ = 0;
    int backgroundOnTop_ = 0;
    int showPercentage_ = 0;
    std::wstring percentageFormat_ = L"%.1f%%";
};
