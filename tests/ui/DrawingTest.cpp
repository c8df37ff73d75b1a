// The drawing routines and image frames against the pixels of a 32-bit DIB.
#include "tests/ui/UiTestSupport.h"
#include "ui/framework/Drawing.h"
#include "ui/framework/LayerConstants.h"
#include "ui/framework/ResourceIds.h"
#include "ui/framework/ResourceRegistry.h"

#include <gtest/gtest.h>

namespace {

using uitest::Opaque;
using uitest::Pixel;
using uitest::PixelCanvas;

const Pixel kRed = Opaque(255, 0, 0);
const Pixel kGreen = Opaque(0, 255, 0);
const Pixel kBlue = Opaque(0, 0, 255);
const Pixel kYellow = Opaque(255, 255, 0);
const Pixel kClear = uitest::kClear;

// The four-frame test strip (red, green, blue, yellow frames of 10 x 10) decoded from the resources.
std::unique_ptr<CImage> Strip(int frames = 4)
{
    auto image = std::make_unique<CImage>();
    EXPECT_TRUE(image->LoadFromResource(uitest::kStrip4Id, nullptr, CResourceRegistry::kImageResourceType));
    image->SetFrameCount(frames);
    return image;
}

// Three vertical bands of 10 pixels: red, green, blue.
std::unique_ptr<CImage> Bands()
{
    return uitest::MakeImage(30, 10, [](int x, int) -> uint32_t {
        return x < 10 ? 0xFFFF0000 : x < 20 ? 0xFF00FF00 : 0xFF0000FF;
    });
}

TEST(ImageTest, ResourceImageKnowsItsSizeAndFrames)
{
    const auto strip = Strip();
    EXPECT_TRUE(strip->IsValid());
    EXPECT_EQ(strip->GetWidth(), 40);
    EXPECT_EQ(strip->GetHeight(), 10);
    EXPECT_EQ(strip->GetFrameWidth(), 10);
    CImage missing;
    EXPECT_FALSE(missing.LoadFromResource(9999, nullptr, CResourceRegistry::kImageResourceType));
    EXPECT_FALSE(missing.IsValid());
    missing.SetFrameCount(0);
    EXPECT_EQ(missing.GetFrameCount(), 1);
}

struct FrameCase {
    const char* name;
    int frames;
    int index;
    Pixel expected;
};

class DrawFrameTest : public testing::TestWithParam<FrameCase> {};

TEST_P(DrawFrameTest, ShowsTheFrameOfTheIndex)
{
    const FrameCase& c = GetParam();
    const auto strip = Strip(c.frames);
    PixelCanvas canvas(30, 30);
    strip->DrawFrame(canvas.Dc(), 10, 10, strip->GetFrameWidth(), 10, c.index);
    EXPECT_EQ(canvas.At(15, 15), c.expected);
    EXPECT_EQ(canvas.At(5, 5), kClear);
}

// 40 pixels as 4 frames of 10, or (for the disabled state of a 3-frame strip) 3 frames of 13.
INSTANTIATE_TEST_SUITE_P(Frames, DrawFrameTest,
                         testing::Values(FrameCase{"first", 4, 0, kRed}, FrameCase{"second", 4, 1, kGreen},
                                         FrameCase{"last", 4, 3, kYellow}, FrameCase{"pastLast", 4, 4, kRed},
                                         FrameCase{"farPast", 4, 17, kRed}, FrameCase{"negative", 4, -1, kRed},
                                         FrameCase{"disabledOfThree", 3, 3, kRed}),
                         [](const testing::TestParamInfo<FrameCase>& info) { return info.param.name; });

TEST(DrawFrameTest, WideDestinationShowsTheNextFrameAndTallOneStretches)
{
    const auto strip = Strip();
    PixelCanvas canvas(40, 40);
    strip->DrawFrame(canvas.Dc(), 0, 0, 20, 30, 0);
    EXPECT_EQ(canvas.At(4, 4), kRed);
    EXPECT_EQ(canvas.At(15, 4), kGreen);
    EXPECT_EQ(canvas.At(4, 25), kRed);
    EXPECT_EQ(canvas.At(25, 4), kClear);
    EXPECT_EQ(canvas.At(4, 35), kClear);
}

TEST(DrawFrameTest, InvalidImageDrawsNothing)
{
    CImage empty;
    PixelCanvas canvas(20, 20);
    empty.DrawFrame(canvas.Dc(), 0, 0, 20, 20, 0);
    EXPECT_EQ(canvas.InkIn({0, 0, 20, 20}), 0);
}

TEST(NineGridTest, KeepsBordersAndStretchesTheCentre)
{
    // 30 x 30: corners red, edges green, centre blue, with 10-pixel borders.
    const auto image = uitest::MakeImage(30, 30, [](int x, int y) -> uint32_t {
        const bool edgeX = x < 10 || x >= 20;
        const bool edgeY = y < 10 || y >= 20;
        return edgeX && edgeY ? 0xFFFF0000 : edgeX || edgeY ? 0xFF00FF00 : 0xFF0000FF;
    });
    PixelCanvas canvas(120, 100);
    draw::DrawNineGrid(canvas.Dc(), image.get(), {10, 10, 110, 90}, {10, 10, 20, 20});
    const struct {
        int x, y;
        Pixel expected;
    } probes[] = {
        {12, 12, kRed},  {107, 12, kRed},   {12, 87, kRed},   {107, 87, kRed},    // corners unscaled
        {18, 18, kRed},  {102, 82, kRed},                                         // 10 pixels deep
        {60, 12, kGreen}, {12, 50, kGreen}, {107, 50, kGreen}, {60, 87, kGreen},  // stretched edges
        {60, 50, kBlue}, {22, 22, kBlue},   {97, 77, kBlue},                      // stretched centre
        {5, 5, kClear},  {115, 95, kClear},
    };
    for (const auto& probe : probes) {
        EXPECT_EQ(canvas.At(probe.x, probe.y), probe.expected) << probe.x << "," << probe.y;
    }
}

TEST(ThreePartTest, ZeroCapsStretchTheWholeImageAtItsNaturalHeight)
{
    const auto bands = Bands();
    for (const int width : {90, 6}) {
        PixelCanvas canvas(100, 30);
        draw::DrawThreePartH(canvas.Dc(), bands.get(), {0, 0, width, 30}, 0, 0);
        EXPECT_EQ(canvas.At(width / 6, 5), kRed) << width;
        EXPECT_EQ(canvas.At(width / 2, 5), kGreen) << width;
        EXPECT_EQ(canvas.At(width - 1 - width / 6, 5), kBlue) << width;
        EXPECT_EQ(canvas.At(width + 2, 5), kClear) << width;
        EXPECT_EQ(canvas.At(width / 2, 20), kClear) << width;
    }
}

TEST(ThreePartTest, CapsKeepTheirWidthAndTheMiddleIsTiled)
{
    const auto bands = Bands();
    PixelCanvas canvas(100, 20);
    draw::DrawThreePartH(canvas.Dc(), bands.get(), {0, 0, 75, 20}, 10, 20);
    EXPECT_EQ(canvas.At(5, 5), kRed);
    EXPECT_EQ(canvas.At(15, 5), kGreen);
    EXPECT_EQ(canvas.At(55, 5), kGreen);
    EXPECT_EQ(canvas.At(64, 5), kGreen);  // the last middle piece is cut short
    EXPECT_EQ(canvas.At(66, 5), kBlue);
    EXPECT_EQ(canvas.At(74, 5), kBlue);
    EXPECT_EQ(canvas.At(76, 5), kClear);
}

TEST(ThreePartTest, VerticalCapsSitAtTopAndBottom)
{
    const auto bands = uitest::MakeImage(10, 30, [](int, int y) -> uint32_t {
        return y < 10 ? 0xFFFF0000 : y < 20 ? 0xFF00FF00 : 0xFF0000FF;
    });
    PixelCanvas canvas(20, 100);
    draw::DrawThreePartV(canvas.Dc(), bands.get(), {0, 0, 10, 75}, 10, 20);
    EXPECT_EQ(canvas.At(5, 5), kRed);
    EXPECT_EQ(canvas.At(5, 40), kGreen);
    EXPECT_EQ(canvas.At(5, 70), kBlue);
    EXPECT_EQ(canvas.At(5, 78), kClear);
    EXPECT_EQ(canvas.At(15, 40), kClear);
}

TEST(TiledTest, HorizontalCopiesStartInsideAndMayReachPast)
{
    const auto strip = Strip(1);  // 40 x 10
    PixelCanvas canvas(200, 20);
    draw::DrawTiledH(canvas.Dc(), strip.get(), {0, 0, 100, 10}, 5);
    // Copies at 0, 45 and 90; the last runs to 130.
    EXPECT_EQ(canvas.At(2, 5), kRed);
    EXPECT_EQ(canvas.At(42, 5), kClear);
    EXPECT_EQ(canvas.At(47, 5), kRed);
    EXPECT_EQ(canvas.At(125, 5), kYellow);
    EXPECT_EQ(canvas.At(135, 5), kClear);
}

TEST(TiledTest, VerticalCopiesStartAtTheBottom)
{
    const auto square = uitest::MakeImage(10, 10, [](int, int) -> uint32_t { return 0xFF0000FF; });
    PixelCanvas canvas(20, 40);
    draw::DrawTiledV(canvas.Dc(), square.get(), {0, 0, 10, 35}, 2);
    // Copies at 25, 13 and 1.
    EXPECT_EQ(canvas.At(5, 30), kBlue);
    EXPECT_EQ(canvas.At(5, 24), kClear);
    EXPECT_EQ(canvas.At(5, 18), kBlue);
    EXPECT_EQ(canvas.At(5, 5), kBlue);
    EXPECT_EQ(canvas.At(5, 0), kClear);
}

TEST(FillTest, FillsWithThePremultipliedColourAtTheGivenAlpha)
{
    PixelCanvas canvas(20, 20);
    draw::FillRect(canvas.Dc(), {5, 5, 15, 15}, RGB(255, 0, 0), layer::kAlpha);
    EXPECT_EQ(canvas.At(10, 10), (Pixel{0, 0, 254, 254}));
    EXPECT_EQ(canvas.At(4, 10), kClear);
    EXPECT_EQ(canvas.At(15, 10), kClear);
    draw::FillRect(nullptr, {5, 5, 15, 15}, RGB(255, 0, 0), layer::kAlpha);
}

TEST(FillTest, HalfTransparentImageBlendsOverWhatIsThere)
{
    auto half = std::make_unique<CImage>();
    ASSERT_TRUE(half->LoadFromResource(uitest::kHalfRedId, nullptr, CResourceRegistry::kImageResourceType));
    PixelCanvas canvas(20, 20);
    draw::FillRect(canvas.Dc(), {0, 0, 20, 20}, RGB(0, 0, 255), 255);
    half->DrawFrame(canvas.Dc(), 0, 0, 20, 20, 0);
    const Pixel mixed = canvas.At(10, 10);
    EXPECT_NEAR(mixed.r, 127, 3);
    EXPECT_NEAR(mixed.b, 128, 3);
    EXPECT_EQ(mixed.a, 255);
}

class TextTest : public testing::Test {
protected:
    Gdiplus::Font* Font() { return CResourceRegistry::Instance()->GetFont(res::kFont17); }
};

TEST_F(TextTest, TheUiFontDrawsChineseText)
{
    ASSERT_NE(Font(), nullptr);
    PixelCanvas canvas(200, 40);
    draw::DrawText(canvas.Dc(), L"卸载程序", {0, 0, 200, 40}, Font(), 0x000000, layer::text::kDefault, 254);
    EXPECT_GT(canvas.InkIn({0, 0, 200, 40}), 100);
}

TEST_F(TextTest, AlphaZeroDrawsNothing)
{
    PixelCanvas canvas(200, 40);
    draw::DrawText(canvas.Dc(), L"卸载程序", {0, 0, 200, 40}, Font(), 0x000000, layer::text::kDefault, 0);
    EXPECT_EQ(canvas.InkIn({0, 0, 200, 40}), 0);
}

struct AlignCase {
    const char* name;
    UINT format;
    RECT inked;  // the only part of the 300 x 90 layout that holds ink
};

class TextAlignTest : public TextTest, public testing::WithParamInterface<AlignCase> {};

TEST_P(TextAlignTest, FormatBitsPlaceTheText)
{
    const AlignCase& c = GetParam();
    PixelCanvas canvas(300, 90);
    draw::DrawText(canvas.Dc(), L"卸载", {0, 0, 300, 90}, Font(), 0x000000, c.format, 254);
    const int all = canvas.InkIn({0, 0, 300, 90});
    EXPECT_GT(all, 20);
    EXPECT_EQ(canvas.InkIn(c.inked), all);
}

INSTANTIATE_TEST_SUITE_P(
    Bits, TextAlignTest,
    testing::Values(AlignCase{"topLeft", 0x1000, {0, 0, 100, 30}}, AlignCase{"centred", 0x1011, {100, 30, 200, 60}},
                    AlignCase{"bottomRight", 0x1022, {200, 60, 300, 90}},
                    AlignCase{"leftCentredVertically", 0x1001, {0, 30, 100, 60}},
                    AlignCase{"centreWinsOverRight", 0x1030, {100, 0, 200, 30}}),
    [](const testing::TestParamInfo<AlignCase>& info) { return info.param.name; });

TEST_F(TextTest, OutlineSurroundsTheText)
{
    PixelCanvas plain(200, 40);
    PixelCanvas outlined(200, 40);
    draw::DrawOutlinedText(plain.Dc(), L"卸载", {0, 0, 200, 40}, Font(), 0x000000, layer::kNoColor, 0x1011, 254);
    draw::DrawOutlinedText(outlined.Dc(), L"卸载", {0, 0, 200, 40}, Font(), 0x000000, 0xFFFFFF, 0x1011, 254);
    int white = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            const Pixel p = outlined.At(x, y);
            white += p.a > 200 && p.r > 200 ? 1 : 0;
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_GT(outlined.InkIn({0, 0, 200, 40}), plain.InkIn({0, 0, 200, 40}));
}

}  // namespace
