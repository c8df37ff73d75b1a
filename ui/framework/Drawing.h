// The GDI+ drawing routines of the layered UI: rectangle fill, text, outlined text and the image cuts
// (nine-grid, three-part, tiled). Colours are COLORREF values with a separate alpha byte.
#pragma once

#include <windows.h>
#include <gdiplus.h>

class CImage;

namespace draw {

// Process-wide text mode: while anti-aliased, the text routines ask GDI+ for anti-aliased text.
enum class TextMode { kNormal, kAntiAlias };
void SetTextMode(TextMode mode);
TextMode GetTextMode();

// (alpha, COLORREF) as GDI+ ARGB.
Gdiplus::Color ToColor(COLORREF color, BYTE alpha);

// The string format that the text-format bits stand for.
void ApplyTextFormat(Gdiplus::StringFormat& format, UINT bits);

// A GDI+ graphics object over a device context for one drawing call.
class Canvas {
public:
    explicit Canvas(HDC dc);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Gdiplus::Graphics& Graphics() { return graphics_; }
    // Stretches the source rectangle of image (image pixels) onto the destination rectangle.
    void DrawImage(const CImage& image, const RECT& dest, const RECT& source);

private:
    Gdiplus::Graphics graphics_;
};

// Fills the rectangle with a solid colour; nothing for a null context.
void FillRect(HDC dc, const RECT& rect, COLORREF color, BYTE alpha);

// Draws text into the layout rectangle with the string format of the text-format bits; nothing at alpha 0.
void DrawText(HDC dc, const wchar_t* text, const RECT& rect, Gdiplus::Font* font, COLORREF color, UINT format,
              BYTE alpha);

// Draws the text four times in the outline colour moved by one pixel left, up, right and down, then once
// in the text colour; without outline colour only the text.
void DrawOutlinedText(HDC dc, const wchar_t* text, const RECT& rect, Gdiplus::Font* font, COLORREF color,
                      COLORREF outline, UINT format, BYTE alpha);

// Stretches the image over dest keeping its borders: centre is the stretching part in image coordinates.
void DrawNineGrid(HDC dc, const CImage* image, const RECT& dest, const RECT& centre);

// Left cap 0..left, tiled middle left..rightStart, right part rightStart..width at the right edge; without a
// middle the right part is stretched from the cap's end (with zero caps the whole image over the width).
void DrawThreePartH(HDC dc, const CImage* image, const RECT& dest, int left, int rightStart);
// The same downwards: top cap 0..top, tiled middle top..bottomStart, bottom cap.
void DrawThreePartV(HDC dc, const CImage* image, const RECT& dest, int top, int bottomStart);

// Whole copies from the left edge rightward, one every width + gap, while a copy starts inside dest.
void DrawTiledH(HDC dc, const CImage* image, const RECT& dest, int gap);
// Whole copies from the bottom edge upward, one every height + gap, while a copy's top is inside dest.
void DrawTiledV(HDC dc, const CImage* image, const RECT& dest, int gap);

}  // namespace draw
