// Helpers of the UI tests: GDI+ for the whole run, a 32-bit DIB to draw into and read back, images
// made in code, a window double that records what controls ask of their window, message pumping,
// and screenshots of the test display.
#pragma once

#include "ui/framework/GdiHandles.h"
#include "ui/framework/ILayerWindow.h"
#include "ui/framework/Image.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace uitest {

// Resource ids of the test images (tests/ui/UiTestResources.rc).
inline constexpr int kStrip4Id = 500;
inline constexpr int kHalfRedId = 501;

// A premultiplied BGRA pixel as a DIB holds it.
struct Pixel {
    BYTE b, g, r, a;
    bool operator==(const Pixel& other) const { return b == other.b && g == other.g && r == other.r && a == other.a; }
};
// An opaque pixel of a COLORREF-free RGB triple.
Pixel Opaque(BYTE r, BYTE g, BYTE b);
inline constexpr Pixel kClear = {0, 0, 0, 0};

// A zeroed, top-down 32-bit DIB selected into a memory context.
class PixelCanvas {
public:
    PixelCanvas(int width, int height);
    HDC Dc() const { return dc_.Get(); }
    Pixel At(int x, int y) const;
    // Pixels inside the rectangle that are not fully transparent.
    int InkIn(const RECT& rect) const;
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_;
    int height_;
    UniqueMemoryDC dc_;
    UniqueBitmap bitmap_;
    std::unique_ptr<SelectedObject> selected_;
    const uint32_t* bits_ = nullptr;
};

// An image of width x height whose pixel (x, y) is colour(x, y) as 0xAARRGGBB, written as a PNG file
// and loaded from it.
std::unique_ptr<CImage> MakeImage(int width, int height, const std::function<uint32_t(int, int)>& colour,
                                  int frames = 1);

// Records the requests of controls that have no real window.
class FakeWindow : public ILayerWindow {
public:
    struct Posted {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    int GetOutlineMode() override { return 0; }
    void SetOutlineMode(int) override {}
    HWND GetHWND() override { return nullptr; }
    void ShowTooltip(int show, const std::wstring& text) override;
    int SetTimer(UINT id, UINT milliseconds) override;
    int KillTimer(UINT id) override;
    void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessage(UINT, WPARAM, LPARAM) override { return 0; }
    void Redraw(RECT* rect, int full) override;

    std::vector<Posted> posted;
    std::vector<RECT> redraws;  // whole-window requests as an empty rectangle
    std::vector<UINT> timers;
    std::vector<std::wstring> tooltips;  // shown texts; hiding adds an empty entry
    // The ids of the WM_COMMAND messages posted so far.
    std::vector<int> Commands() const;
};

// Dispatches this thread's messages for the given time, or until done answers true.
void PumpMessages(DWORD milliseconds, const std::function<bool()>& done = nullptr);

// The Windows path of build/ui-shots/<name>.png (the folder is made), where screenshots are kept to look at.
std::wstring ShotPath(const std::wstring& name);
// Takes a screenshot of the whole test display into the Windows path (a PNG); false when none was made.
bool TakeScreenshot(const std::wstring& path);
// The screenshot's pixel at (x, y) as 0x00RRGGBB.
uint32_t ShotPixel(const std::wstring& path, int x, int y);

}  // namespace uitest
