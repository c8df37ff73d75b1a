#include "tests/ui/UiTestSupport.h"

#include "base/PathUtil.h"
#include "base/StringUtil.h"
#include "support/WineTestSupport.h"
#include "ui/framework/MemoryDC.h"

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace uitest {
namespace {

bool PngEncoder(CLSID& clsid)
{
    UINT count = 0;
    UINT size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, encoders);
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(encoders[i].MimeType, L"image/png") == 0) {
            clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

// The Unix path of a Windows path on drive Z: (the whole Unix file system under Wine).
std::string UnixPath(const std::wstring& windowsPath)
{
    std::wstring rest = windowsPath.substr(2);
    std::replace(rest.begin(), rest.end(), L'\\', L'/');
    return ToUtf8(rest);
}

}  // namespace

Pixel Opaque(BYTE r, BYTE g, BYTE b) { return {b, g, r, 255}; }

PixelCanvas::PixelCanvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr))
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<const uint32_t*>(bits);
    std::fill_n(static_cast<uint32_t*>(bits), width * height, 0u);
    selected_ = std::make_unique<SelectedObject>(dc_.Get(), bitmap_.Get());
}

Pixel PixelCanvas::At(int x, int y) const
{
    GdiFlush();
    const uint32_t value = bits_[y * width_ + x];
    return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
            static_cast<BYTE>(value >> 24)};
}

int PixelCanvas::InkIn(const RECT& rect) const
{
    int ink = 0;
    for (int y = std::max(0L, rect.top); y < std::min<LONG>(height_, rect.bottom); ++y) {
        for (int x = std::max(0L, rect.left); x < std::min<LONG>(width_, rect.right); ++x) {
            ink += At(x, y).a != 0 ? 1 : 0;
        }
    }
    return ink;
}

std::unique_ptr<CImage> MakeImage(int width, int height, const std::function<uint32_t(int, int)>& colour, int frames)
{
    static int serial = 0;
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.SetPixel(x, y, Gdiplus::Color(colour(x, y)));
        }
    }
    CLSID png = {};
    EXPECT_TRUE(PngEncoder(png));
    const std::wstring path = PathJoin(GetTempDirectory(), L"ui-image-" + std::to_wstring(++serial) + L".png");
    EXPECT_EQ(bitmap.Save(path.c_str(), &png, nullptr), Gdiplus::Ok);
    auto image = std::make_unique<CImage>();
    EXPECT_TRUE(image->LoadFromFile(path));
    image->SetFrameCount(frames);
    return image;
}

void FakeWindow::ShowTooltip(int show, const std::wstring& text) { tooltips.push_back(show ? text : L""); }

int FakeWindow::SetTimer(UINT id, UINT) 
{
    timers.push_back(id);
    return 1;
}

int FakeWindow::KillTimer(UINT id)
{
    timers.erase(std::remove(timers.begin(), timers.end(), id), timers.end());
    return 1;
}

void FakeWindow::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) { posted.push_back({message, wParam, lParam}); }

void FakeWindow::Redraw(RECT* rect, int)
{
    redraws.push_back(rect != nullptr ? *rect : RECT{});
    delete rect;
}

std::vector<int> FakeWindow::Commands() const
{
    std::vector<int> ids;
    for (const Posted& message : posted) {
        if (message.message == WM_COMMAND) {
            ids.push_back(LOWORD(message.wParam));
        }
    }
    return ids;
}

void PumpMessages(DWORD milliseconds, const std::function<bool()>& done)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done && done()) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::wstring ShotPath(const std::wstring& name)
{
    const std::wstring dir = PathJoin(PathDirectory(wintest::BinDir()), L"ui-shots");
    CreateDirectoryTree(dir);
    return PathJoin(dir, name + L".png");
}

bool TakeScreenshot(const std::wstring& path)
{
    DeleteFileW(path.c_str());
    const std::wstring command =
        L"start.exe /wait /unix /usr/bin/import -window root " + FromUtf8(UnixPath(path));
    wintest::RunAndWait(command, 30000);
    // start.exe may return before the Linux program has written the file.
    PumpMessages(10000, [&] { return FileExists(path); });
    PumpMessages(200);
    return FileExists(path);
}

uint32_t ShotPixel(const std::wstring& path, int x, int y)
{
    Gdiplus::Bitmap shot(path.c_str());
    Gdiplus::Color colour;
    shot.GetPixel(x, y, &colour);
    return colour.GetValue() & 0xFFFFFF;
}

}  // namespace uitest
