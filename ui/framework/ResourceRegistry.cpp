#include "ui/framework/ResourceRegistry.h"

#include "base/PathUtil.h"

int CResourceRegistry::RegisterImage(int id, int resourceId, int frameCount)
{
    if (images_.count(id) != 0) {
        return 0;
    }
    ImageEntry& entry = images_[id];
    entry.resourceId = resourceId;
    entry.frameCount = frameCount;
    return 1;
}

int CResourceRegistry::RegisterImageFile(int id, const std::wstring& path, int frameCount)
{
    if (!FileExists(path) || images_.count(id) != 0) {
        return 0;
    }
    ImageEntry& entry = images_[id];
    entry.image = std::make_unique<CImage>();
    entry.image->SetFrameCount(frameCount);
    entry.image->LoadFromFile(path);
    entry.frameCount = frameCount;
    entry.loaded = true;
    return 1;
}

int CResourceRegistry::RegisterFont(int id, const std::wstring& face, int sizePixels, int style)
{
    if (fonts_.count(id) != 0) {
        return 0;
    }
    FontEntry& entry = fonts_[id];
    entry.face = face;
    entry.size = sizePixels;
    entry.style = style;
    return 1;
}

void CResourceRegistry::RegisterCursor(int id, const wchar_t* nameOrId, bool fromSystem)
{
    CursorEntry& entry = cursors_[id];
    entry = CursorEntry();
    entry.name = nameOrId;
    entry.fromSystem = fromSystem;
}

CImage* CResourceRegistry::GetImage(int id, HMODULE module)
{
    const auto found = id == -1 ? images_.end() : images_.find(id);
    if (found == images_.end()) {
        return nullptr;
    }
    ImageEntry& entry = found->second;
    if (!entry.loaded) {
        entry.image = std::make_unique<CImage>();
        entry.image->SetFrameCount(entry.frameCount);
        entry.image->LoadFromResource(entry.resourceId, module, kImageResourceType);
        entry.loaded = true;
    }
    return entry.image.get();
}

Gdiplus::Font* CResourceRegistry::GetFont(int id)
{
    const auto found = id == -1 ? fonts_.end() : fonts_.find(id);
    if (found == fonts_.end()) {
        return nullptr;
    }
    FontEntry& entry = found->second;
    if (!entry.created) {
        entry.created = true;
        const Gdiplus::FontFamily family(entry.face.c_str(), nullptr);
        if (family.GetLastStatus() == Gdiplus::Ok) {
            entry.font = std::make_unique<Gdiplus::Font>(&family, static_cast<Gdiplus::REAL>(entry.size),
                                                         entry.style, Gdiplus::UnitPixel);
        }
        // A face that is not installed gives no usable font: the controls then draw no text.
        if (entry.font && entry.font->GetLastStatus() != Gdiplus::Ok) {
            entry.font.reset();
        }
    }
    return entry.font.get();
}

HCURSOR CResourceRegistry::GetCursor(int id)
{
    const auto found = id == -1 ? cursors_.end() : cursors_.find(id);
    if (found == cursors_.end()) {
        return nullptr;
    }
    CursorEntry& entry = found->second;
    if (!entry.loaded) {
        entry.cursor = LoadCursorW(entry.fromSystem ? nullptr : GetModuleHandleW(nullptr), entry.name);
        entry.loaded = true;
    }
    return entry.cursor;
}

void CResourceRegistry::ReleaseResources()
{
    images_.clear();
    fonts_.clear();
}
