#include "ui/framework/MemoryDC.h"

HBITMAP CreateDib32(HDC reference, int width, int height, void** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits != nullptr) {
        *bits = pixels;
    }
    return bitmap;
}

CBitmapDC::CBitmapDC(HBITMAP bitmap, HDC reference) : dc_(CreateCompatibleDC(reference))
{
    BITMAP info = {};
    if (GetObjectW(bitmap, sizeof(info), &info) != 0) {
        width_ = info.bmWidth;
        height_ = info.bmHeight;
    }
    if (dc_) {
        old_ = SelectObject(dc_.Get(), bitmap);
    }
}

CBitmapDC::~CBitmapDC()
{
    if (dc_) {
        SelectObject(dc_.Get(), old_);
    }
}

void CBitmapDC::BlitTo(HDC target, int x, int y) const
{
    BitBlt(target, x, y, width_, height_, dc_.Get(), 0, 0, SRCCOPY);
}

CMemoryDCEx::CMemoryDCEx(HDC target, const RECT& rect, bool dib)
    : target_(target), rect_(rect), dc_(CreateCompatibleDC(target))
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    bitmap_.Reset(dib ? CreateDib32(target, width, height) : CreateCompatibleBitmap(target, width, height));
    if (dc_ && bitmap_) {
        old_ = SelectObject(dc_.Get(), bitmap_.Get());
        SetViewportOrgEx(dc_.Get(), -rect.left, -rect.top, nullptr);
    }
}

CMemoryDCEx::~CMemoryDCEx()
{
    if (!dc_ || !bitmap_) {
        return;
    }
    if (copyBack_) {
        BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, dc_.Get(),
               rect_.left, rect_.top, SRCCOPY);
    }
    // The bitmap must leave the context before it is deleted.
    SelectObject(dc_.Get(), old_);
}
