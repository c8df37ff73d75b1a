#include "ui/framework/MessageBox.h"

#include "base/StringUtil.h"
#include "config/ProductInfo.h"
#include "ui/framework/GdiHandles.h"
#include "ui/framework/LayerButtonCtrl.h"
#include "ui/framework/LayerImageCtrl.h"
#include "ui/framework/LayerLabelCtrl.h"
#include "ui/framework/ResourceIds.h"
#include "ui/framework/ResourceRegistry.h"
#include "ui/framework/WindowImpl.h"

namespace {

bool g_silent = false;

constexpr COLORREF kTitleColor = 0xFFFFFF;
constexpr COLORREF kMessageColor = 0x888888;
constexpr COLORREF kPrimaryTextColor = 0xFFFFFF;
constexpr COLORREF kSecondaryTextColor = 0x888888;

struct ButtonSet {
    int type;
    const wchar_t* primaryCaption;
    int primaryId;
    const wchar_t* secondaryCaption;
    int secondaryId;
};

constexpr ButtonSet kButtonSets[] = {
    {msgbox::kOk, L"确定", IDOK, nullptr, 0},
    {msgbox::kOkCancel, L"取消", IDCANCEL, L"确定", IDOK},
    {msgbox::kYesNo, L"是", IDYES, L"否", IDNO},
};

const ButtonSet* FindButtonSet(int type)
{
    for (const ButtonSet& set : kButtonSets) {
        if (set.type == (type & 0xF)) {
            return &set;
        }
    }
    return nullptr;
}

}  // namespace

void CMessageBox::SetSilent(bool silent) { g_silent = silent; }

bool CMessageBox::IsSilent() { return g_silent; }

int CMessageBox::Show(const wchar_t* text, int type)
{
    if (g_silent) {
        return msgbox::kNoAnswer;
    }
    CMessageBox box(text, type);
    return box.Run();
}

CMessageBox::CMessageBox(const wchar_t* text, int type) : type_(type), message_(text != nullptr ? text : L"") {}

int CMessageBox::Run()
{
    const INT_PTR code = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(msgbox::kDialogId),
                                         GetActiveWindow(), DialogProc, reinterpret_cast<LPARAM>(this));
    root_.reset();
    backBuffer_.reset();
    return static_cast<int>(code);
}

INT_PTR CALLBACK CMessageBox::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<CMessageBox*>(lParam)->hwnd_ = dialog;
    }
    auto* self = reinterpret_cast<CMessageBox*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    LRESULT result = 0;
    if (!self->OnMessage(message, wParam, lParam, result)) {
        return FALSE;
    }
    if (message == WM_INITDIALOG) {
        return static_cast<INT_PTR>(result);
    }
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

bool CMessageBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    handled_ = 1;
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        result = TRUE;
        return true;
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_NCHITTEST:
        result = OnNcHitTest(lParam);
        return true;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam));
    case WM_CLOSE:
        EndDialog(hwnd_, msgbox::kClosed);
        return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEHOVER:
    case WM_MOUSELEAVE:
        OnMouse(message, wParam, lParam);
        return true;
    default:
        return false;
    }
}

void CMessageBox::OnInitDialog()
{
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetWindowPos(hwnd_, nullptr, 0, 0, msgbox::kWidth, msgbox::kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The box has no child windows: its window text carries the message for assistive tools.
    SetWindowTextW(hwnd_, message_.c_str());
    {
        WindowDC dialogDC(hwnd_);
        backBuffer_ = std::make_unique<CMemoryDCEx>(dialogDC.Get(), RECT{0, 0, msgbox::kWidth, msgbox::kHeight},
                                                    false);
    }
    CenterTopLevelWindow(hwnd_);
    root_ = std::make_unique<CLayerControlRootView>();
    RECT client = {};
    GetClientRect(hwnd_, &client);
    root_->Create(hwnd_, this, -1, client, 0);
    BuildControls();
    Redraw(nullptr, 1);
}

CLayerButtonCtrl* CMessageBox::AddButton(int id, const RECT& rect, const wchar_t* caption, int imageId,
                                         COLORREF color)
{
    CResourceRegistry& registry = *CResourceRegistry::Instance();
    auto* button = new CLayerButtonCtrl();
    button->Create(hwnd_, this, id, rect, 0);
    button->SetImage(registry.GetImage(imageId));
    if (caption != nullptr) {
        button->SetText(caption, 0);
        button->SetTextColor(color, 0);
        button->SetFont(registry.GetFont(res::kFont14));
    }
    root_->AddChild(button);
    return button;
}

void CMessageBox::BuildControls()
{
    CResourceRegistry& registry = *CResourceRegistry::Instance();
    auto* background = new CLayerImageCtrl();
    background->Create(hwnd_, this, nextDecorativeId_++, 0, 0, msgbox::kWidth, msgbox::kHeight, 0);
    background->SetImage(registry.GetImage(res::kMessageBoxBackground), 0);
    background->SetCentered();
    root_->AddChild(background);

    auto* title = new CLayerLabelCtrl();
    title->Create(hwnd_, this, nextDecorativeId_++, 50, 0, 200, 50, 0);
    title->SetText(FormatString(L"%s卸载", GetProductName().c_str()), 0);
    title->SetTextColor(kTitleColor, 0);
    title->SetFont(registry.GetFont(res::kFont17));
    title->SetTextFormat(layer::text::kVCenter);
    root_->AddChild(title);

    auto* text = new CLayerLabelCtrl();
    text->Create(hwnd_, this, nextDecorativeId_++, 0, 110, msgbox::kWidth, 32, 0);
    text->SetText(message_, 0);
    text->SetTextColor(kMessageColor, 0);
    text->SetFont(registry.GetFont(res::kFont17));
    text->SetTextFormat(layer::text::kHCenter);
    root_->AddChild(text);

    if (const ButtonSet* set = FindButtonSet(type_)) {
        primaryId_ = set->primaryId;
        primary_ = AddButton(set->primaryId, {416, 195, 416 + 106, 195 + 40}, set->primaryCaption,
                             res::kMessageBoxPrimaryButton, kPrimaryTextColor);
        if (set->secondaryCaption != nullptr) {
            secondaryId_ = set->secondaryId;
            secondary_ = AddButton(set->secondaryId, {290, 195, 290 + 106, 195 + 40}, set->secondaryCaption,
                                   res::kMessageBoxSecondaryButton, kSecondaryTextColor);
        }
    }
    close_ = AddButton(msgbox::kCloseId, {504, 16, 504 + 18, 16 + 18}, nullptr, res::kMessageBoxCloseButton, 0);
}

void CMessageBox::OnPaint()
{
    PAINTSTRUCT paint = {};
    HDC dc = BeginPaint(hwnd_, &paint);
    if (backBuffer_) {
        BitBlt(dc, 0, 0, msgbox::kWidth, msgbox::kHeight, backBuffer_->Get(), 0, 0, SRCCOPY);
    }
    EndPaint(hwnd_, &paint);
}

LRESULT CMessageBox::OnNcHitTest(LPARAM lParam)
{
    POINT point = {XFromLParam(lParam), YFromLParam(lParam)};
    ScreenToClient(hwnd_, &point);
    ILayerControl* control = root_ ? root_->ChildAt(point.x, point.y) : nullptr;
    return control != nullptr && !control->IsDragThrough() ? HTCLIENT : HTCAPTION;
}

bool CMessageBox::OnCommand(int id)
{
    if (id == msgbox::kCloseId) {
        EndDialog(hwnd_, msgbox::kClosed);
        return true;
    }
    if ((secondaryId_ >= 1 && id == secondaryId_) || (primaryId_ >= 1 && id == primaryId_)) {
        EndDialog(hwnd_, id);
        return true;
    }
    return false;
}

void CMessageBox::OnMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!root_) {
        return;
    }
    const UINT flags = static_cast<UINT>(wParam);
    const int x = XFromLParam(lParam);
    const int y = YFromLParam(lParam);
    int pressHandled = 1;
    switch (message) {
    case WM_MOUSEMOVE:
        root_->OnMouseMove(flags, x, y);
        if (mouseOutside_) {
            TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, hwnd_, HOVER_DEFAULT};
            TrackMouseEvent(&track);
            mouseOutside_ = 0;
        }
        break;
    case WM_LBUTTONDOWN:
        SetCapture(hwnd_);
        root_->OnLButtonDown(flags, x, y, &pressHandled);
        break;
    case WM_LBUTTONUP:
        root_->OnLButtonUp(flags, x, y, &pressHandled);
        ReleaseCapture();
        break;
    case WM_MOUSEHOVER:
        root_->OnMouseHover(flags, x, y);
        break;
    default:
        if (!mouseOutside_) {
            // A held button keeps its pressed control: the release still reaches it through the capture.
            ILayerControl* pressed = GetCapture() == hwnd_ ? root_->GetPressedControl() : nullptr;
            root_->OnMouseLeave();
            root_->SetPressedControl(pressed);
            mouseOutside_ = 1;
        }
        break;
    }
}

void CMessageBox::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    ::PostMessageW(hwnd_, message, wParam, lParam);
}

LRESULT CMessageBox::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(hwnd_, message, wParam, lParam);
}

void CMessageBox::Redraw(RECT* rect, int full)
{
    delete rect;
    if (!root_ || !backBuffer_) {
        return;
    }
    root_->Draw(backBuffer_->Get());
    InvalidateRect(hwnd_, nullptr, TRUE);
}
