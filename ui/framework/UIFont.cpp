#include "ui/framework/UIFont.h"

#include "sysinfo/NtVersion.h"

#include <cwchar>

namespace {

constexpr int kFontHeight = -12;
constexpr BYTE kGb2312Charset = 134;
constexpr BYTE kPitchAndFamily = 0x20;

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param)
{
    const wchar_t* fullName = reinterpret_cast<const ENUMLOGFONTW*>(font)->elfFullName;
    unsigned& found = *reinterpret_cast<unsigned*>(param);
    for (size_t i = 0; i < std::size(CUIFont::kCandidates); ++i) {
        if (_wcsicmp(fullName, CUIFont::kCandidates[i]) == 0) {
            found |= 1u << i;
        }
    }
    return 1;
}

// Font enumeration is trusted from Windows Vista (major version 6) on.
bool CanEnumerateFonts()
{
    NtVersion version;
    return GetNtVersionNumbers(version) && version.major >= 6;
}

}  // namespace

unsigned CUIFont::FindInstalledFaces()
{
    unsigned found = 0;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesW(screen, nullptr, CollectFace, reinterpret_cast<LPARAM>(&found));
    ReleaseDC(nullptr, screen);
    return found;
}

std::wstring CUIFont::ChooseFace(unsigned foundBits)
{
    for (size_t i = 0; i < std::size(kCandidates); ++i) {
        if (foundBits & (1u << i)) {
            return kCandidates[i];
        }
    }
    return std::wstring();
}

void CUIFont::Select()
{
    found_ = CanEnumerateFonts() ? FindInstalledFaces() : kSongTiBit;
    face_ = ChooseFace(found_);
    font_ = CreateFontW(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, kGb2312Charset, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, kPitchAndFamily, face_.c_str());
}
