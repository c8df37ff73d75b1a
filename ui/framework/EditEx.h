// A superclassed system edit box: a grey cue text while it is empty and unfocused, Enter swallowed
// (handed to an optional callback), every typed character announced to the parent, and hidden when it
// loses the focus while empty.
#pragma once

#include "ui/framework/WindowImpl.h"

#include <functional>
#include <string>

class CEditEx : public CWindowImplBase {
public:
    // The class name of the superclass of "EDIT".
    static constexpr wchar_t kClassName[] = L"WTL_CEditEx";
    static constexpr COLORREF kCueColor = 0xD7D7D7;

    // A child of parent with the traits' style plus extra style bits (ES_... flags).
    HWND Create(HWND parent, const RECT& rect, UINT id, DWORD extraStyle = 0);

    void SetCueText(const std::wstring& text) { cueText_ = text; }
    const std::wstring& GetCueText() const { return cueText_; }
    void SetAlwaysShowCue(int always) { alwaysShowCue_ = always; }
    void SetEnterCallback(std::function<void()> callback) { onEnter_ = std::move(callback); }

protected:
    CWndClassInfo& GetWndClassInfo() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool ShouldPaintCue() const;
    void PaintCue();

    std::wstring cueText_;
    int alwaysShowCue_ = 0;
    std::function<void()> onEnter_;
};
