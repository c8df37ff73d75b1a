// Memory device contexts: one over an existing bitmap (the window's cached background) and one that
// makes its own bitmap for a rectangle of a target context and can copy it back.
#pragma once

#include "ui/framework/GdiHandles.h"

#include <windows.h>

// A 32-bit, bottom-up, uncompressed DIB section; bits receives the pixel pointer when given.
HBITMAP CreateDib32(HDC reference, int width, int height, void** bits = nullptr);

// A memory context compatible with a reference context, holding a given bitmap while it lives.
class CBitmapDC {
public:
    CBitmapDC(HBITMAP bitmap, HDC reference);
    ~CBitmapDC();
    CBitmapDC(const CBitmapDC&) = delete;
    CBitmapDC& operator=(const CBitmapDC&) = delete;

    HDC Get() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Copies the whole bitmap to (x, y) of target.
    void BlitTo(HDC target, int x, int y) const;

private:
    UniqueMemoryDC dc_;
    HGDIOBJ old_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// A memory context with a bitmap of a rectangle of a target, drawn in the target's coordinates; on
// destruction it copies the rectangle back to the target when asked to.
class CMemoryDCEx {
public:
    CMemoryDCEx(HDC target, const RECT& rect, bool dib);
    virtual ~CMemoryDCEx();
    CMemoryDCEx(const CMemoryDCEx&) = delete;
    CMemoryDCEx& operator=(const CMemoryDCEx&) = delete;

    HDC Get() const { return dc_.Get(); }
    operator HDC() const { return dc_.Get(); }
    void SetCopyBack(bool copyBack) { copyBack_ = copyBack; }

private:
    HDC target_;
    RECT rect_;
    UniqueMemoryDC dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
    bool copyBack_ = false;
};
