#include "ui/framework/ResInitializer.h"

#include "ui/framework/ResourceIds.h"
#include "ui/framework/ResourceRegistry.h"
#include "ui/framework/UIFont.h"

namespace {

struct FontRegistration {
    int id;
    int size;
    int style;
};

struct ImageRegistration {
    int id;
    int frames;
};

// GDI+ font styles.
constexpr int kRegular = 0;
constexpr int kBold = 1;
constexpr int kUnderline = 4;

constexpr FontRegistration kFonts[] = {
    {res::kFont8, 8, kRegular},        {res::kFont9, 9, kRegular},         {res::kFont12, 12, kRegular},
    {res::kFont12Underline, 12, kUnderline}, {res::kFont12Bold, 12, kBold}, {res::kFont14, 14, kRegular},
    {res::kFont14Underline, 14, kUnderline}, {res::kFont14Bold, 14, kBold}, {res::kFont15Bold, 15, kBold},
    {res::kFont16, 16, kRegular},      {res::kFont17, 17, kRegular},       {res::kFont18, 18, kRegular},
    {res::kFont22, 22, kRegular},
};

// Each image under its own resource id, in registration order.
constexpr ImageRegistration kImages[] = {
    {237, 3}, {238, 3}, {239, 8}, {240, 8}, {241, 3}, {242, 3}, {244, 1}, {245, 8}, {246, 1}, {247, 1},
    {248, 1}, {252, 1}, {300, 1}, {301, 3}, {302, 3}, {312, 1}, {304, 3}, {305, 1}, {306, 1}, {308, 8},
    {309, 8}, {310, 8}, {311, 8}, {307, 3}, {313, 1}, {314, 1}, {315, 1}, {316, 3}, {319, 1}, {320, 1},
    {321, 1}, {322, 1}, {259, 1}, {323, 3}, {254, 3}, {255, 3}, {257, 1}, {258, 1}, {260, 3},
};

}  // namespace

ResInitializer& ResInitializer::Instance()
{
    static ResInitializer instance;
    return instance;
}

void ResInitializer::Initialize()
{
    CResourceRegistry& registry = *CResourceRegistry::Instance();
    const std::wstring& face = CUIFont::Instance()->GetFaceName();
    for (const FontRegistration& font : kFonts) {
        registry.RegisterFont(font.id, face, font.size, font.style);
    }
    for (const ImageRegistration& image : kImages) {
        registry.RegisterImage(image.id, image.id, image.frames);
    }
    registry.RegisterCursor(res::kHandCursor, IDC_HAND, true);
}

void ResInitializer::Uninitialize() { CResourceRegistry::Instance()->ReleaseResources(); }
