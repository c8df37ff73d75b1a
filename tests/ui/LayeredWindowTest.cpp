// Real windows of the framework under the test display: a layered screen composed with per-pixel
// alpha and captured in screenshots, real mouse input, drag hit-testing, timers, tooltips and the
// painting of an ordinary window.
#include "tests/ui/UiTestSupport.h"
#include "ui/framework/Drawing.h"
#include "ui/framework/LayerButtonCtrl.h"
#include "ui/framework/LayerLabelCtrl.h"
#include "ui/framework/LayerProgress.h"
#include "ui/framework/LayerWindowBase.h"
#include "ui/framework/ResourceIds.h"
#include "ui/framework/ResourceRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int kLeft = 100;
constexpr int kTop = 100;
constexpr int kWidth = 400;
constexpr int kHeight = 240;
constexpr int kButtonId = 1;
constexpr int kLabelId = 2000;
constexpr COLORREF kPanel = RGB(35, 64, 107);

// A probe control that counts the ticks of its own timer.
class TickCounter : public CLayerControlBase {
public:
    TickCounter() : CLayerControlBase(layer::type::kImage) {}
    void OnTimer(UINT) override { ++ticks; }
    int ticks = 0;
};

// A screen of 400 x 240 at (100, 100): a dark panel over the top 200 rows, a transparent strip below
// it with a half-transparent white square, a title, a button and a progress bar.
class TestScreen : public CLayerWindowBase {
public:
    explicit TestScreen(const CWinTraits& traits) : CLayerWindowBase(traits) {}

    int frames = 0;
    std::vector<int> commands;
    COLORREF panel = kPanel;
    bool customBackground = true;
    CLayerButtonCtrl* button = nullptr;

protected:
    void OnCreate() override
    {
        SetWindowPos(GetHwnd(), nullptr, kLeft, kTop, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        CResourceRegistry& registry = *CResourceRegistry::Instance();
        CLayerControlRootView& root = *GetRootView();
        auto* title = new CLayerLabelCtrl();
        title->Create(GetHwnd(), this, kLabelId, 20, 20, 300, 50, 0);
        title->SetText(L"凯洛壁纸卸载", 0);
        title->SetTextColor(RGB(255, 255, 255), 0);
        title->SetFont(registry.GetFont(res::kFont22));
        root.AddChild(title);

        button = new CLayerButtonCtrl();
        button->Create(GetHwnd(), this, kButtonId, 20, 110, 106, 40, 0);
        button->SetImage(registry.GetImage(res::kMessageBoxPrimaryButton));
        button->SetText(L"继续卸载", 0);
        button->SetTextColor(RGB(255, 255, 255), 0);
        button->SetFont(registry.GetFont(res::kFont14));
        button->SetCursor(registry.GetCursor(res::kHandCursor));
        root.AddChild(button);

        auto* bar = new CLayerProgress();
        bar->Create(GetHwnd(), this, 2001, 20, 170, 360, 12, 0);
        bar->SetBackgroundColor(RGB(200, 200, 200), 0);
        bar->SetFillColor(RGB(0, 200, 80), 0);
        bar->SetPos(60, 0);
        root.AddChild(bar);
    }

    void DrawBackground(HDC dc, const RECT& client) override
    {
        if (!customBackground) {
            CLayerWindowBase::DrawBackground(dc, client);
            return;
        }
        draw::FillRect(dc, {0, 0, kWidth, 200}, panel, layer::kAlpha);
        draw::FillRect(dc, {300, 205, 380, 235}, RGB(255, 255, 255), 128);
    }

    void DrawOverlay(HDC, const RECT&) override { ++frames; }

    bool ProcessScreenMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override
    {
        if (message != WM_COMMAND) {
            return false;
        }
        commands.push_back(LOWORD(wParam));
        result = 0;
        return true;
    }
};

struct Rgb {
    int r, g, b;
};

Rgb Split(uint32_t value) { return {static_cast<int>(value >> 16) & 255, static_cast<int>(value >> 8) & 255,
                                    static_cast<int>(value) & 255}; }

void ExpectNear(uint32_t actual, Rgb expected, int tolerance, const char* what)
{
    const Rgb got = Split(actual);
    EXPECT_NEAR(got.r, expected.r, tolerance) << what;
    EXPECT_NEAR(got.g, expected.g, tolerance) << what;
    EXPECT_NEAR(got.b, expected.b, tolerance) << what;
}

// Moves the pointer as a mouse does, through the input queue.
void MouseTo(int x, int y)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
    uitest::PumpMessages(150);
}

void MouseButton(DWORD flag)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof(input));
    uitest::PumpMessages(150);
}

class LayeredWindowTest : public testing::Test {
protected:
    // Shows the screen and waits for frames it composes.
    void Open(TestScreen& screen)
    {
        ASSERT_NE(screen.CreateScreen(), nullptr);
        ShowWindow(screen.GetHwnd(), SW_SHOWNORMAL);
        uitest::PumpMessages(3000, [&] { return screen.frames > 0; });
        uitest::PumpMessages(300);
        ASSERT_GT(screen.frames, 0);
    }
};

TEST_F(LayeredWindowTest, TheScreenIsComposedWithPerPixelAlpha)
{
    const std::wstring empty = uitest::ShotPath(L"layered-empty");
    ASSERT_TRUE(uitest::TakeScreenshot(empty));
    TestScreen screen(kLayeredScreenTraits);
    Open(screen);
    const std::wstring shot = uitest::ShotPath(L"layered-window");
    ASSERT_TRUE(uitest::TakeScreenshot(shot));

    ExpectNear(uitest::ShotPixel(shot, kLeft + 350, kTop + 100), {35, 64, 107}, 3, "panel");
    ExpectNear(uitest::ShotPixel(shot, kLeft + 25, kTop + 115), {47, 125, 225}, 3, "button, normal frame");
    ExpectNear(uitest::ShotPixel(shot, kLeft + 100, kTop + 176), {0, 200, 80}, 3, "progress fill");
    ExpectNear(uitest::ShotPixel(shot, kLeft + 300, kTop + 176), {200, 200, 200}, 3, "progress background");
    // Where nothing is drawn the display shows through unchanged; the half-transparent square mixes.
    EXPECT_EQ(uitest::ShotPixel(shot, kLeft + 100, kTop + 220), uitest::ShotPixel(empty, kLeft + 100, kTop + 220));
    const Rgb under = Split(uitest::ShotPixel(empty, kLeft + 340, kTop + 220));
    const Rgb mixed = {128 + under.r * 127 / 255, 128 + under.g * 127 / 255, 128 + under.b * 127 / 255};
    ExpectNear(uitest::ShotPixel(shot, kLeft + 340, kTop + 220), mixed, 6, "half-transparent square");
    // The title's white text.
    Gdiplus::Bitmap decoded(shot.c_str());
    int white = 0;
    for (int x = kLeft + 20; x < kLeft + 320; ++x) {
        for (int y = kTop + 20; y < kTop + 70; ++y) {
            Gdiplus::Color colour;
            decoded.GetPixel(x, y, &colour);
            white += colour.GetR() > 200 && colour.GetG() > 200 && colour.GetB() > 200 ? 1 : 0;
        }
    }
    EXPECT_GT(white, 100);
    DestroyWindow(screen.GetHwnd());
}

TEST_F(LayeredWindowTest, RealMouseInputHoversAndClicksTheButton)
{
    TestScreen screen(kLayeredScreenTraits);
    Open(screen);
    MouseTo(kLeft + 60, kTop + 130);
    MouseTo(kLeft + 62, kTop + 131);
    EXPECT_TRUE(screen.button->IsHot());
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    uitest::PumpMessages(300);
    const std::wstring shot = uitest::ShotPath(L"layered-hover");
    ASSERT_TRUE(uitest::TakeScreenshot(shot));
    ExpectNear(uitest::ShotPixel(shot, kLeft + 25, kTop + 115), {75, 147, 238}, 3, "button, hot frame");
    ExpectNear(uitest::ShotPixel(shot, kLeft + 350, kTop + 100), {35, 64, 107}, 3, "panel kept");

    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(screen.button->IsPressed());
    // The release outside the window still completes the click.
    MouseTo(kLeft + kWidth + 100, kTop + kHeight + 50);
    MouseButton(MOUSEEVENTF_LEFTUP);
    uitest::PumpMessages(2000, [&] { return !screen.commands.empty(); });
    EXPECT_FALSE(screen.button->IsPressed());

    EXPECT_EQ(screen.commands, std::vector<int>{kButtonId});
    EXPECT_FALSE(screen.button->IsHot());
    DestroyWindow(screen.GetHwnd());
}

TEST_F(LayeredWindowTest, APartialRedrawChangesOnlyItsRectangle)
{
    TestScreen screen(kLayeredScreenTraits);
    Open(screen);
    screen.panel = RGB(200, 30, 30);
    const int before = screen.frames;
    screen.Redraw(new RECT{300, 0, 400, 50}, 1);
    uitest::PumpMessages(2000, [&] { return screen.frames > before; });
    uitest::PumpMessages(200);
    const std::wstring shot = uitest::ShotPath(L"layered-partial");
    ASSERT_TRUE(uitest::TakeScreenshot(shot));
    ExpectNear(uitest::ShotPixel(shot, kLeft + 350, kTop + 20), {200, 30, 30}, 3, "redrawn area");
    ExpectNear(uitest::ShotPixel(shot, kLeft + 350, kTop + 100), {35, 64, 107}, 3, "previous frame");
    DestroyWindow(screen.GetHwnd());
}

TEST_F(LayeredWindowTest, ControlsThatRefuseDraggingAreClientTheRestIsCaption)
{
    TestScreen screen(kLayeredScreenTraits);
    Open(screen);
    const auto hit = [&](int x, int y) {
        return SendMessageW(screen.GetHwnd(), WM_NCHITTEST, 0, MAKELPARAM(kLeft + x, kTop + y));
    };
    EXPECT_EQ(hit(60, 130), HTCLIENT);   // the button
    EXPECT_EQ(hit(350, 100), HTCAPTION);  // no control
    EXPECT_EQ(hit(40, 40), HTCAPTION);   // the title label lets dragging through
    screen.SetDragEnabled(0);
    EXPECT_EQ(hit(350, 100), HTCLIENT);
    DestroyWindow(screen.GetHwnd());
}

TEST_F(LayeredWindowTest, TimersKeepTheirFirstIntervalAndReachTheirControl)
{
    TestScreen screen(kLayeredScreenTraits);
    Open(screen);
    auto* counter = new TickCounter();
    counter->Create(screen.GetHwnd(), &screen, 77, 0, 0, 1, 1, 0);
    screen.GetRootView()->AddChild(counter);
    counter->StartTimer(77, 20);
    EXPECT_EQ(screen.SetTimer(88, 60000), 1);
    EXPECT_EQ(screen.SetTimer(88, 10), 1);
    EXPECT_EQ(screen.Timers().at(88), 2);
    uitest::PumpMessages(2000, [&] { return counter->ticks >= 3; });
    EXPECT_GE(counter->ticks, 3);
    EXPECT_EQ(screen.KillTimer(88), 1);
    EXPECT_EQ(screen.Timers().count(88), 0u);
    EXPECT_EQ(screen.KillTimer(88), 0);
    counter->StopTimer(77);
    const int ticks = counter->ticks;
    uitest::PumpMessages(200);
    EXPECT_EQ(counter->ticks, ticks);
    DestroyWindow(screen.GetHwnd());
    EXPECT_TRUE(screen.Timers().empty());
    EXPECT_EQ(screen.SetTimer(5, 10), 0);
}

TEST_F(LayeredWindowTest, TheSameTooltipTextIsNotRegisteredAgain)
{
    TestScreen screen(kLayeredScreenTraits);
    Open(screen);
    screen.ShowTooltip(1, L"卸载");
    HWND tooltip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
    while (tooltip != nullptr && GetWindow(tooltip, GW_OWNER) != screen.GetHwnd()) {
        tooltip = FindWindowExW(nullptr, tooltip, TOOLTIPS_CLASSW, nullptr);
    }
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    screen.ShowTooltip(1, L"卸载");
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(screen.GetTooltipText(), L"卸载");
    screen.ShowTooltip(0, L"");
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 0);
    EXPECT_EQ(screen.GetTooltipText(), L"");
    DestroyWindow(screen.GetHwnd());
    EXPECT_FALSE(IsWindow(tooltip));
}

TEST_F(LayeredWindowTest, AnOrdinaryWindowPaintsItsFrameWithTheDefaultBackground)
{
    TestScreen screen(kOpaqueScreenTraits);
    screen.customBackground = false;
    ASSERT_NE(screen.CreateScreen(), nullptr);
    EXPECT_EQ(GetWindowLongW(screen.GetHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(screen.GetHwnd(), GWL_STYLE)) & kScreenStyle, kScreenStyle);
    uitest::PumpMessages(200);
    uitest::PixelCanvas canvas(kWidth, kHeight);
    SendMessageW(screen.GetHwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    EXPECT_EQ(canvas.At(350, 100), (uitest::Pixel{0, 254, 0, 254}));
    EXPECT_EQ(canvas.At(25, 115), (uitest::Pixel{225, 125, 47, 255}));
    DestroyWindow(screen.GetHwnd());
}

}  // namespace
