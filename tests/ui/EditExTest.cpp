// The superclassed edit box inside a real window: Enter, the parent's character notices, hiding when
// it loses the focus while empty, and the grey cue text.
#include "tests/ui/UiTestSupport.h"
#include "ui/framework/EditEx.h"
#include "ui/framework/LayerConstants.h"
#include "ui/framework/LayerWindowBase.h"
#include "ui/framework/UIFont.h"

#include <gtest/gtest.h>

namespace {

// An ordinary screen holding the edit box; it counts the edit's character notices.
class EditHost : public CLayerWindowBase {
public:
    EditHost() : CLayerWindowBase(kOpaqueScreenTraits) {}
    std::vector<HWND> notices;

protected:
    void OnCreate() override
    {
        SetWindowPos(GetHwnd(), nullptr, 100, 100, 300, 120, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    bool ProcessScreenMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override
    {
        if (message != layer::kMsgEditChar) {
            return false;
        }
        notices.push_back(reinterpret_cast<HWND>(wParam));
        result = 0;
        return true;
    }
};

class EditExTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(host_.CreateScreen(), nullptr);
        ShowWindow(host_.GetHwnd(), SW_SHOWNORMAL);
        // Multi-line, as the survey's suggestion box: a plain one would take Enter as a line break.
        ASSERT_NE(edit_.Create(host_.GetHwnd(), {20, 20, 220, 50}, 100, ES_MULTILINE | ES_WANTRETURN), nullptr);
        SendMessageW(edit_.GetHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(CUIFont::Instance()->GetFont()), TRUE);
        wchar_t name[32] = {};
        GetClassNameW(edit_.GetHwnd(), name, 32);
        EXPECT_STREQ(name, CEditEx::kClassName);
        uitest::PumpMessages(200);
    }
    void TearDown() override { DestroyWindow(host_.GetHwnd()); }

    std::wstring Text() const
    {
        wchar_t text[64] = {};
        GetWindowTextW(edit_.GetHwnd(), text, 64);
        return text;
    }
    void Type(wchar_t character)
    {
        SendMessageW(edit_.GetHwnd(), WM_CHAR, character, 1);
        uitest::PumpMessages(50);
    }
    // Pixels of the edit's client area in exactly the cue colour.
    int CuePixels()
    {
        InvalidateRect(edit_.GetHwnd(), nullptr, TRUE);
        UpdateWindow(edit_.GetHwnd());
        uitest::PixelCanvas canvas(200, 30);
        HDC dc = GetDC(edit_.GetHwnd());
        BitBlt(canvas.Dc(), 0, 0, 200, 30, dc, 0, 0, SRCCOPY);
        ReleaseDC(edit_.GetHwnd(), dc);
        int cue = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 200; ++x) {
                const uitest::Pixel p = canvas.At(x, y);
                cue += RGB(p.r, p.g, p.b) == CEditEx::kCueColor ? 1 : 0;
            }
        }
        return cue;
    }

    EditHost host_;
    CEditEx edit_;
};

TEST_F(EditExTest, EnterInsertsNothingCallsBackAndEveryCharacterIsAnnounced)
{
    Type(L'a');
    Type(L'\r');
    EXPECT_EQ(Text(), L"a");
    int entered = 0;
    edit_.SetEnterCallback([&] { ++entered; });
    Type(L'\r');
    Type(L'b');
    EXPECT_EQ(Text(), L"ab");
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(host_.notices, std::vector<HWND>(4, edit_.GetHwnd()));
}

TEST_F(EditExTest, AnEmptyBoxHidesWhenItLosesTheFocusAndOneWithTextStays)
{
    SetFocus(edit_.GetHwnd());
    SetFocus(host_.GetHwnd());
    EXPECT_FALSE(IsWindowVisible(edit_.GetHwnd()));
    ShowWindow(edit_.GetHwnd(), SW_SHOW);
    SetWindowTextW(edit_.GetHwnd(), L"留言");
    SetFocus(edit_.GetHwnd());
    SetFocus(host_.GetHwnd());
    EXPECT_TRUE(IsWindowVisible(edit_.GetHwnd()));
}

TEST_F(EditExTest, TheCueShowsOnlyWhileTheBoxIsEmptyAndUnfocused)
{
    edit_.SetCueText(L"请输入您的建议");
    EXPECT_GT(CuePixels(), 10);
    SetFocus(edit_.GetHwnd());
    EXPECT_EQ(CuePixels(), 0);
    edit_.SetAlwaysShowCue(1);
    EXPECT_GT(CuePixels(), 10);
    SetWindowTextW(edit_.GetHwnd(), L"x");
    EXPECT_EQ(CuePixels(), 0);
}

}  // namespace
