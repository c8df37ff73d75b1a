// A decoded PNG image (from the executable's resources or a file), drawn as a horizontal strip of frames.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <string>

class CImage {
public:
    CImage() = default;
    virtual ~CImage();
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // Decodes the resource id of the given type from module (null: the executable); true when valid.
    bool LoadFromResource(int resourceId, HMODULE module, const wchar_t* resourceType);
    // Decodes a file; true when a bitmap object exists, even if decoding failed.
    bool LoadFromFile(const std::wstring& path);

    // The strip holds this many equally wide frames; values below 1 count as 1.
    void SetFrameCount(int count) { frameCount_ = count; }
    int GetFrameCount() const { return frameCount_ < 1 ? 1 : frameCount_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    int GetFrameWidth() const { return width_ / GetFrameCount(); }
    bool IsValid() const { return bitmap_ && width_ != 0 && height_ != 0; }
    Gdiplus::Bitmap* GetBitmap() const { return bitmap_.get(); }

    // Draws frame index (frame 0 for an index past the last) into the destination; the source is as
    // wide as the destination and as high as the image.
    void DrawFrame(HDC dc, int x, int y, int width, int height, int index) const;
    // Stretches a source rectangle of the image onto a destination rectangle.
    void Draw(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth, int srcHeight) const;

private:
    void Reset();
    void TakeBitmap(Gdiplus::Bitmap* bitmap);

    std::unique_ptr<Gdiplus::Bitmap> bitmap_;
    int width_ = 0;
    int height_ = 0;
    int frameCount_ = 1;
};
