#include "ui/framework/Drawing.h"

#include "ui/framework/Image.h"
#include "ui/framework/LayerConstants.h"

#include <algorithm>

namespace draw {
namespace {

TextMode g_textMode = TextMode::kNormal;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }
RECT Bounds(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

void DrawTextOnce(Gdiplus::Graphics& graphics, const wchar_t* text, const RECT& rect, Gdiplus::Font* font,
                  COLORREF color, UINT format, BYTE alpha)
{
    Gdiplus::StringFormat stringFormat;
    ApplyTextFormat(stringFormat, format);
    Gdiplus::SolidBrush brush(ToColor(color, alpha));
    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                                static_cast<Gdiplus::REAL>(Width(rect)), static_cast<Gdiplus::REAL>(Height(rect)));
    graphics.DrawString(text, -1, font, layout, &stringFormat, &brush);
}

bool CanDrawText(HDC dc, const wchar_t* text, Gdiplus::Font* font, BYTE alpha)
{
    return dc != nullptr && text != nullptr && *text != L'\0' && font != nullptr && alpha != 0;
}

void PrepareText(Gdiplus::Graphics& graphics)
{
    if (g_textMode == TextMode::kAntiAlias) {
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    }
}

bool CanDrawImage(HDC dc, const CImage* image) { return dc != nullptr && image != nullptr && image->IsValid(); }

}  // namespace

void SetTextMode(TextMode mode) { g_textMode = mode; }
TextMode GetTextMode() { return g_textMode; }

Gdiplus::Color ToColor(COLORREF color, BYTE alpha)
{
    return Gdiplus::Color(alpha, GetRValue(color), GetGValue(color), GetBValue(color));
}

void ApplyTextFormat(Gdiplus::StringFormat& format, UINT bits)
{
    using namespace layer::text;
    format.SetLineAlignment((bits & kVCenter)  ? Gdiplus::StringAlignmentCenter
                            : (bits & kBottom) ? Gdiplus::StringAlignmentFar
                                               : Gdiplus::StringAlignmentNear);
    format.SetAlignment((bits & kHCenter) ? Gdiplus::StringAlignmentCenter
                        : (bits & kRight) ? Gdiplus::StringAlignmentFar
                                          : Gdiplus::StringAlignmentNear);
    if (bits & kEllipsisChar) {
        format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    } else if (bits & kEllipsisWord) {
        format.SetTrimming(Gdiplus::StringTrimmingEllipsisWord);
    }
    INT flags = 0;
    if (bits & kSingleLine) {
        flags |= Gdiplus::StringFormatFlagsNoWrap;
    }
    if (bits & kNoClip) {
        flags |= Gdiplus::StringFormatFlagsNoClip;
    }
    format.SetFormatFlags(flags);
}

Canvas::Canvas(HDC dc) : graphics_(dc) {}

void Canvas::DrawImage(const CImage& image, const RECT& dest, const RECT& source)
{
    // Pixel-exact sampling: a stretched cut never blends with the pixels beyond its source rectangle.
    graphics_.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    graphics_.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    // Edge pixels are mirrored instead of blended with transparency when a cut is stretched.
    const Gdiplus::RectF target(static_cast<Gdiplus::REAL>(dest.left), static_cast<Gdiplus::REAL>(dest.top),
                                static_cast<Gdiplus::REAL>(Width(dest)), static_cast<Gdiplus::REAL>(Height(dest)));
    graphics_.DrawImage(image.GetBitmap(), target, static_cast<Gdiplus::REAL>(source.left),
                        static_cast<Gdiplus::REAL>(source.top), static_cast<Gdiplus::REAL>(Width(source)),
                        static_cast<Gdiplus::REAL>(Height(source)), Gdiplus::UnitPixel);
}

void FillRect(HDC dc, const RECT& rect, COLORREF color, BYTE alpha)
{
    if (dc == nullptr) {
        return;
    }
    Canvas canvas(dc);
    Gdiplus::SolidBrush brush(ToColor(color, alpha));
    canvas.Graphics().FillRectangle(&brush, static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                                    static_cast<INT>(Width(rect)), static_cast<INT>(Height(rect)));
}

void DrawText(HDC dc, const wchar_t* text, const RECT& rect, Gdiplus::Font* font, COLORREF color, UINT format,
              BYTE alpha)
{
    if (!CanDrawText(dc, text, font, alpha)) {
        return;
    }
    Canvas canvas(dc);
    PrepareText(canvas.Graphics());
    DrawTextOnce(canvas.Graphics(), text, rect, font, color, format, alpha);
}

void DrawOutlinedText(HDC dc, const wchar_t* text, const RECT& rect, Gdiplus::Font* font, COLORREF color,
                      COLORREF outline, UINT format, BYTE alpha)
{
    if (!CanDrawText(dc, text, font, alpha)) {
        return;
    }
    Canvas canvas(dc);
    PrepareText(canvas.Graphics());
    if (outline != layer::kNoColor) {
        static constexpr POINT kOffsets[] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
        for (const POINT& offset : kOffsets) {
            RECT moved = rect;
            OffsetRect(&moved, offset.x, offset.y);
            DrawTextOnce(canvas.Graphics(), text, moved, font, outline, format, alpha);
        }
    }
    DrawTextOnce(canvas.Graphics(), text, rect, font, color, format, alpha);
}

void DrawNineGrid(HDC dc, const CImage* image, const RECT& dest, const RECT& centre)
{
    if (!CanDrawImage(dc, image)) {
        return;
    }
    const int w = image->GetWidth();
    const int h = image->GetHeight();
    const int L = centre.left;
    const int T = centre.top;
    const int R = centre.right;
    const int B = centre.bottom;
    const int rw = w - R;
    const int bh = h - B;
    const int W = Width(dest);
    const int H = Height(dest);
    const int midW = W - L - rw;
    const int midH = H - T - bh;
    struct Piece {
        RECT source;
        RECT target;
    };
    const Piece pieces[] = {
        {Bounds(0, 0, L, T), Bounds(dest.left, dest.top, L, T)},
        {Bounds(R, 0, rw, T), Bounds(dest.right - rw, dest.top, rw, T)},
        {Bounds(L, 0, R - L, T), Bounds(dest.left + L, dest.top, midW, T)},
        {Bounds(0, T, L, B - T), Bounds(dest.left, dest.top + T, L, midH)},
        {Bounds(R, T, rw, B - T), Bounds(dest.right - rw, dest.top + T, rw, midH)},
        {Bounds(0, B, L, bh), Bounds(dest.left, dest.bottom - bh, L, bh)},
        {Bounds(R, B, rw, bh), Bounds(dest.right - rw, dest.bottom - bh, rw, bh)},
        {Bounds(L, B, R - L, bh), Bounds(dest.left + L, dest.bottom - bh, midW, bh)},
        {Bounds(L, T, R - L, B - T), Bounds(dest.left + L, dest.top + T, midW, midH)},
    };
    Canvas canvas(dc);
    for (const Piece& piece : pieces) {
        canvas.DrawImage(*image, piece.target, piece.source);
    }
}

void DrawThreePartH(HDC dc, const CImage* image, const RECT& dest, int left, int rightStart)
{
    if (!CanDrawImage(dc, image)) {
        return;
    }
    const int w = image->GetWidth();
    const int h = image->GetHeight();
    Canvas canvas(dc);
    canvas.DrawImage(*image, Bounds(dest.left, dest.top, left, h), Bounds(0, 0, left, h));
    if (rightStart > left) {
        const int step = rightStart - left;
        const int end = dest.right - (w - rightStart);
        for (int x = dest.left + left; x < end; x += step) {
            const int piece = std::min(step, end - x);
            canvas.DrawImage(*image, Bounds(x, dest.top, piece, h), Bounds(left, 0, piece, h));
        }
    }
    // The right part ends at the destination's right edge: at its own width after a tiled middle,
    // stretched from the left cap's end when there is no middle (the whole image for zero caps).
    const int rightWidth = w - rightStart;
    const RECT rightDest = rightStart > left ? Bounds(dest.right - rightWidth, dest.top, rightWidth, h)
                                             : Bounds(dest.left + left, dest.top, Width(dest) - left, h);
    canvas.DrawImage(*image, rightDest, Bounds(rightStart, 0, rightWidth, h));
}

void DrawThreePartV(HDC dc, const CImage* image, const RECT& dest, int top, int bottomStart)
{
    if (!CanDrawImage(dc, image)) {
        return;
    }
    const int w = image->GetWidth();
    const int h = image->GetHeight();
    const int bottomCap = h - bottomStart;
    Canvas canvas(dc);
    canvas.DrawImage(*image, Bounds(dest.left, dest.top, w, top), Bounds(0, 0, w, top));
    if (bottomStart > top) {
        const int step = bottomStart - top;
        const int end = Height(dest) - bottomCap;
        for (int y = top; y < end; y += step) {
            const int piece = std::min(step, end - y);
            canvas.DrawImage(*image, Bounds(dest.left, dest.top + y, w, piece), Bounds(0, top, w, piece));
        }
    }
    const int capTop = dest.top + std::max(top, Height(dest) - bottomCap);
    canvas.DrawImage(*image, Bounds(dest.left, capTop, w, bottomCap), Bounds(0, bottomStart, w, bottomCap));
}

void DrawTiledH(HDC dc, const CImage* image, const RECT& dest, int gap)
{
    if (!CanDrawImage(dc, image)) {
        return;
    }
    const int w = image->GetWidth();
    const int h = image->GetHeight();
    const int step = std::max(1, w + gap);
    Canvas canvas(dc);
    for (int x = dest.left; x <= dest.right; x += step) {
        canvas.DrawImage(*image, Bounds(x, dest.top, w, h), Bounds(0, 0, w, h));
    }
}

void DrawTiledV(HDC dc, const CImage* image, const RECT& dest, int gap)
{
    if (!CanDrawImage(dc, image)) {
        return;
    }
    const int w = image->GetWidth();
    const int h = image->GetHeight();
    const int step = std::max(1, h + gap);
    Canvas canvas(dc);
    for (int y = dest.bottom - h; y >= dest.top; y -= step) {
        canvas.DrawImage(*image, Bounds(dest.left, y, w, h), Bounds(0, 0, w, h));
    }
}

}  // namespace draw
