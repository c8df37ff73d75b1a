// The resource registry, the start-up registrations and the choice of the UI face.
#include "base/PathUtil.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/framework/ResourceIds.h"
#include "ui/framework/ResourceRegistry.h"
#include "ui/framework/UIFont.h"

#include <gtest/gtest.h>

namespace {

TEST(ResourceRegistryTest, ImagesDecodeOnceOnFirstUseAndKeepTheirFirstRegistration)
{
    CResourceRegistry registry;
    EXPECT_EQ(registry.RegisterImage(7, uitest::kStrip4Id, 4), 1);
    EXPECT_EQ(registry.RegisterImage(7, uitest::kHalfRedId, 1), 0);
    CImage* image = registry.GetImage(7);
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->IsValid());
    EXPECT_EQ(image->GetWidth(), 40);
    EXPECT_EQ(image->GetFrameWidth(), 10);
    EXPECT_EQ(registry.GetImage(7), image);
    EXPECT_EQ(registry.GetImage(8), nullptr);
    EXPECT_EQ(registry.GetImage(-1), nullptr);
}

TEST(ResourceRegistryTest, AnImageThatFailsToDecodeStaysInvalidAndIsNotRetried)
{
    CResourceRegistry registry;
    registry.RegisterImage(9, 9999, 3);
    CImage* image = registry.GetImage(9);
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->IsValid());
    EXPECT_EQ(image->GetFrameCount(), 3);
    EXPECT_EQ(registry.GetImage(9), image);
}

TEST(ResourceRegistryTest, FileImagesLoadAtOnceAndMissingFilesAreRefused)
{
    CResourceRegistry registry;
    EXPECT_EQ(registry.RegisterImageFile(3, L"C:\\no\\such.png", 1), 0);
    EXPECT_EQ(registry.GetImage(3), nullptr);
    const std::wstring path = PathJoin(GetTempDirectory(), L"registry-file.png");
    {
        Gdiplus::Bitmap bitmap(6, 4, PixelFormat32bppARGB);
        CLSID png = {};
        CLSIDFromString(L"{557CF406-1A04-11D3-9A73-0000F81EF32E}", &png);
        ASSERT_EQ(bitmap.Save(path.c_str(), &png, nullptr), Gdiplus::Ok);
    }
    EXPECT_EQ(registry.RegisterImageFile(3, path, 2), 1);
    EXPECT_EQ(registry.RegisterImageFile(3, path, 2), 0);
    ASSERT_NE(registry.GetImage(3), nullptr);
    EXPECT_EQ(registry.GetImage(3)->GetWidth(), 6);
    EXPECT_EQ(registry.GetImage(3)->GetFrameWidth(), 3);
    DeleteFileW(path.c_str());
}

TEST(ResourceRegistryTest, FontsOfTheUiFaceAreCreatedAndUnknownFacesGiveNone)
{
    CResourceRegistry registry;
    EXPECT_EQ(registry.RegisterFont(1, CUIFont::Instance()->GetFaceName(), 14, 1), 1);
    EXPECT_EQ(registry.RegisterFont(1, L"Other", 20, 0), 0);
    EXPECT_EQ(registry.RegisterFont(2, L"No Such Face At All", 14, 0), 1);
    Gdiplus::Font* font = registry.GetFont(1);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetSize(), 14.0f);
    EXPECT_EQ(font->GetStyle(), 1);
    EXPECT_EQ(font->GetUnit(), Gdiplus::UnitPixel);
    EXPECT_EQ(registry.GetFont(1), font);
    EXPECT_EQ(registry.GetFont(2), nullptr);
    EXPECT_EQ(registry.GetFont(-1), nullptr);
    registry.ReleaseResources();
    EXPECT_EQ(registry.GetFont(1), nullptr);
}

TEST(ResInitializerTest, RegistersTheProgramsFontsImagesAndHandCursor)
{
    CResourceRegistry& registry = *CResourceRegistry::Instance();
    const struct {
        int id;
        float size;
        int style;
    } fonts[] = {{1001, 8, 0},  {1002, 9, 0},  {1003, 12, 0}, {1004, 12, 4}, {1005, 12, 1},
                 {1006, 14, 0}, {1007, 14, 4}, {1008, 14, 1}, {1009, 15, 1}, {1010, 17, 0},
                 {1011, 16, 0}, {1012, 18, 0}, {1013, 22, 0}};
    for (const auto& expected : fonts) {
        Gdiplus::Font* font = registry.GetFont(expected.id);
        ASSERT_NE(font, nullptr) << expected.id;
        EXPECT_EQ(font->GetSize(), expected.size) << expected.id;
        EXPECT_EQ(font->GetStyle(), expected.style) << expected.id;
    }
    EXPECT_EQ(registry.GetFont(1014), nullptr);

    // The test program holds stand-ins for only a few pictures: every registered id answers, with its frame count.
    const int threeFrames[] = {237, 238, 241, 242, 254, 255, 260, 301, 302, 304, 307, 316, 323};
    const int eightFrames[] = {239, 240, 245, 308, 309, 310, 311};
    const int oneFrame[] = {244, 246, 247, 248, 252, 257, 258, 259, 300, 305, 306, 312, 313, 314, 315, 319, 320, 321, 322};
    const struct {
        const int* ids;
        size_t count;
        int frames;
    } groups[] = {{threeFrames, std::size(threeFrames), 3}, {eightFrames, std::size(eightFrames), 8},
                  {oneFrame, std::size(oneFrame), 1}};
    size_t total = 0;
    for (const auto& group : groups) {
        for (size_t i = 0; i < group.count; ++i) {
            CImage* image = registry.GetImage(group.ids[i]);
            ASSERT_NE(image, nullptr) << group.ids[i];
            EXPECT_EQ(image->GetFrameCount(), group.frames) << group.ids[i];
            ++total;
        }
    }
    EXPECT_EQ(total, 39u);
    EXPECT_EQ(registry.GetImage(243), nullptr);
    EXPECT_EQ(registry.GetCursor(res::kHandCursor), LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(registry.GetCursor(1002), nullptr);
}

struct FaceCase {
    unsigned bits;
    const wchar_t* face;
};

TEST(UIFontTest, TheMostPreferredInstalledCandidateWins)
{
    const FaceCase cases[] = {
        {0x00, L""},         {0x01, L"微软雅黑"}, {0x3F, L"微软雅黑"},         {0x06, L"Microsoft YaHei"},
        {0x04, L"Microsoft YaHei UI"}, {0x28, L"宋体"}, {0x10, L"新細明體"}, {0x20, L"Tahoma"},
    };
    for (const FaceCase& c : cases) {
        EXPECT_EQ(CUIFont::ChooseFace(c.bits), c.face) << c.bits;
    }
}

TEST(UIFontTest, TheTestPrefixOffersMicrosoftYaHeiByItsFullName)
{
    EXPECT_EQ(CUIFont::FindInstalledFaces() & 0x02, 0x02u);
    EXPECT_EQ(CUIFont::Instance()->GetFaceName(), L"Microsoft YaHei");
    HFONT font = CUIFont::Instance()->GetFont();
    ASSERT_NE(font, nullptr);
    LOGFONTW logical = {};
    GetObjectW(font, sizeof(logical), &logical);
    EXPECT_EQ(logical.lfHeight, -12);
    EXPECT_EQ(logical.lfCharSet, 134);
    EXPECT_STREQ(logical.lfFaceName, L"Microsoft YaHei");
}

}  // namespace
