// The process-wide registry of the UI's fonts, PNG images and cursors, addressed by small integer ids.
// Images and fonts are created on first use and shared by every control; controls never free them.
#pragma once

#include "base/Singleton.h"
#include "ui/framework/Image.h"

#include <windows.h>
#include <gdiplus.h>

#include <map>
#include <memory>
#include <string>

class CResourceRegistry : public CSingletonT<CResourceRegistry> {
public:
    // Resource type of every image resource of the program.
    static constexpr wchar_t kImageResourceType[] = L"PNG";

    CResourceRegistry() = default;
    CResourceRegistry(const CResourceRegistry&) = delete;
    CResourceRegistry& operator=(const CResourceRegistry&) = delete;

    // 0 when the id is taken (nothing changes), else 1: the image is decoded on first GetImage.
    int RegisterImage(int id, int resourceId, int frameCount);
    // 0 when the file does not exist or the id is taken; else decodes the file at once and answers 1.
    int RegisterImageFile(int id, const std::wstring& path, int frameCount);
    // 0 when the id is taken, else 1: the font is created on first GetFont.
    int RegisterFont(int id, const std::wstring& face, int sizePixels, int style);
    // A system cursor (fromSystem) or one of the program's cursor resources, loaded on first GetCursor.
    void RegisterCursor(int id, const wchar_t* nameOrId, bool fromSystem);

    // Null for -1 or an unknown id. A resource image that fails to decode stays invalid and is not retried.
    CImage* GetImage(int id, HMODULE module = nullptr);
    Gdiplus::Font* GetFont(int id);
    HCURSOR GetCursor(int id);

    // Frees every image and font and forgets their registrations.
    void ReleaseResources();

private:
    struct ImageEntry {
        std::unique_ptr<CImage> image;
        int resourceId = -1;
        int frameCount = 1;
        bool loaded = false;
    };
    struct FontEntry {
        bool created = false;
        std::unique_ptr<Gdiplus::Font> font;
        std::wstring face;
        int size = 0;
        int style = 0;
    };
    struct CursorEntry {
        bool loaded = false;
        const wchar_t* name = nullptr;
        bool fromSystem = false;
        HCURSOR cursor = nullptr;
    };

    std::map<int, ImageEntry> images_;
    std::map<int, FontEntry> fonts_;
    std::map<int, CursorEntry> cursors_;
};
