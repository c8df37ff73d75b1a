#include "ui/framework/EditEx.h"

#include "ui/framework/LayerConstants.h"

namespace {

constexpr wchar_t kEnter = 13;

}  // namespace

CWndClassInfo& CEditEx::GetWndClassInfo()
{
    static CWndClassInfo info = {kClassName, L"EDIT", 0, 0, nullptr, {}};
    return info;
}

HWND CEditEx::Create(HWND parent, const RECT& rect, UINT id, DWORD extraStyle)
{
    return CWindowImplBase::Create(parent, &rect, nullptr, kChildTraits.style | extraStyle, kChildTraits.exStyle, id);
}

bool CEditEx::ShouldPaintCue() const
{
    return GetWindowTextLengthW(GetHwnd()) == 0 && !cueText_.empty() &&
           (GetFocus() != GetHwnd() || alwaysShowCue_);
}

void CEditEx::PaintCue()
{
    PAINTSTRUCT paint = {};
    HDC dc = BeginPaint(GetHwnd(), &paint);
    RECT client = {};
    GetClientRect(GetHwnd(), &client);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(GetHwnd(), WM_GETFONT, 0, 0));
    if (font == nullptr) {
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    const int saved = SaveDC(dc);
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        ::SendMessageW(GetParent(GetHwnd()), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(GetHwnd())));
    if (brush != nullptr) {
        ::FillRect(dc, &client, brush);
    }
    SetTextColor(dc, kCueColor);
    DrawTextW(dc, cueText_.c_str(), -1, &client, DT_VCENTER);
    RestoreDC(dc, saved);
    EndPaint(GetHwnd(), &paint);
}

bool CEditEx::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT:
        if (!ShouldPaintCue()) {
            return false;
        }
        PaintCue();
        result = 0;
        return true;
    case WM_CHAR:
        ::PostMessageW(GetParent(GetHwnd()), layer::kMsgEditChar, reinterpret_cast<WPARAM>(GetHwnd()), 0);
        if (wParam != kEnter) {
            return false;
        }
        if (onEnter_) {
            onEnter_();
        }
        result = 0;
        return true;
    case WM_KILLFOCUS:
        if (GetWindowTextLengthW(GetHwnd()) == 0) {
            ShowWindow(GetHwnd(), SW_HIDE);
        }
        return false;
    default:
        return false;
    }
}
