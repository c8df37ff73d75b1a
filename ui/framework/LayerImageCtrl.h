// An image from the registry or from a file, drawn centred, nine-grid, three-part, as one frame or
// stretched, with an optional caption; it posts WM_COMMAND on release only when clickable.
#pragma once

#include "ui/framework/LayerControlBase.h"

#include <memory>

class CImage;

class CLayerImageCtrl : public CLayerControlBase {
public:
    enum Mode { kCentered = 0, kNineGrid = 1, kThreePartV = 2, kThreePartH = 3, kOneFrame = 4, kStretched = 5 };

    CLayerImageCtrl();
    ~CLayerImageCtrl() override;

    void Draw(HDC dc) override;
    void OnLButtonUp(UINT flags, int x, int y, int* handled) override;

    // With flags bit 0 set the control takes the image's size.
    void SetImage(CImage* image, int redraw);
    // Loads the file (again when force is set, or when the path changed); a missing or undecodable file
    // leaves no file image.
    void SetImageFile(const std::wstring& path, int force, int redraw);
    void SetCentered() { mode_ = kCentered; }
    void SetNineGrid(const RECT* centre);
    void SetThreePartV(int top, int bottomStart);
    void SetThreePartH(int left, int rightStart);
    void SetFrame(int index);
    void SetStretched() { mode_ = kStretched; }
    int GetMode() const { return mode_; }

private:
    const CImage* ShownImage() const;
    void DrawImage(HDC dc, const CImage& image) const;

    int mode_ = kCentered;
    RECT nineGrid_ = {};
    int threePartLeft_ = 0;
    int threePartRight_ = 0;
    int threePartTop_ = 0;
    int threePartBottom_ = 0;
    CImage* image_ = nullptr;
    std::unique_ptr<CImage> fileImage_;
    std::wstring filePath_;
    int frame_ = -1;
};
