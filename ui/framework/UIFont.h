// The choice of the UI's font face among the installed candidates, and the GDI font the native edit
// boxes get. Made once at start-up; the font lives until the process ends.
#pragma once

#include "base/Singleton.h"

#include <windows.h>

#include <string>

class CUIFont : public CSingletonT<CUIFont> {
public:
    // Candidate faces, most preferred first; their bits in the found set are 1 << index.
    static constexpr const wchar_t* kCandidates[] = {L"微软雅黑", L"Microsoft YaHei", L"Microsoft YaHei UI",
                                                     L"宋体", L"新細明體", L"Tahoma"};
    static constexpr unsigned kSongTiBit = 0x08;

    // Finds the installed candidates (only "宋体" is assumed before Windows Vista), chooses the most
    // preferred one and creates the 12-pixel GB2312 font handle of that face.
    void Select();

    const std::wstring& GetFaceName() const { return face_; }
    HFONT GetFont() const { return font_; }
    unsigned GetFoundFaces() const { return found_; }

    // Chooses among candidate bits: the lowest set bit wins; empty when none is set.
    static std::wstring ChooseFace(unsigned foundBits);
    // The candidate bits among the full names of the installed font families.
    static unsigned FindInstalledFaces();

private:
    HFONT font_ = nullptr;
    std::wstring face_;
    unsigned found_ = 0;
};
