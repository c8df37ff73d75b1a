#include "ui/framework/LayerWindowBase.h"

#include "ui/framework/Drawing.h"
#include "ui/framework/LayerConstants.h"
#include "ui/framework/MemoryDC.h"

namespace {

// Class style of every screen class: CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS.
constexpr UINT kScreenClassStyle = 0xB;
constexpr COLORREF kDefaultBackground = 0x00FF00;
constexpr int kTooltipMaxWidth = 300;
constexpr UINT kToolInfoSizeV6 = 48;
constexpr UINT kToolInfoSizeOld = 44;
// Mouse messages 0x200 to 0x20D reach the tooltip.
constexpr UINT kLastRelayedMouseMessage = 0x20D;

RECT ClientRect(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    return client;
}

bool SameSize(HBITMAP bitmap, const RECT& client)
{
    BITMAP info = {};
    return GetObjectW(bitmap, sizeof(info), &info) != 0 && info.bmWidth == client.right - client.left &&
           info.bmHeight == client.bottom - client.top;
}

DWORD MajorVersion()
{
    OSVERSIONINFOW info = {sizeof(info)};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&info);
#pragma GCC diagnostic pop
    return info.dwMajorVersion;
}

}  // namespace

CLayerWindowBase::CLayerWindowBase(const CWinTraits& traits, const wchar_t* className)
    : traits_(traits), classInfo_{className, nullptr, kScreenClassStyle, 0, nullptr, {}},
      root_(std::make_unique<CLayerControlRootView>())
{
}

CLayerWindowBase::~CLayerWindowBase()
{
    if (IsWindow()) {
        DestroyWindow(GetHwnd());
    }
    timers_.clear();
}

HWND CLayerWindowBase::CreateScreen()
{
    return Create(nullptr, nullptr, nullptr, traits_.style, traits_.exStyle);
}

bool CLayerWindowBase::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (DispatchLayerMessage(message, wParam, lParam, result)) {
        return true;
    }
    return ProcessScreenMessage(message, wParam, lParam, result);
}

bool CLayerWindowBase::DispatchLayerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    handled_ = 1;
    result = 0;
    const UINT flags = static_cast<UINT>(wParam);
    const int x = XFromLParam(lParam);
    const int y = YFromLParam(lParam);
    switch (message) {
    case WM_CREATE:
        HandleCreate();
        return handled_;
    case WM_DESTROY:
        HandleDestroy();
        return handled_;
    case WM_SIZE:
        root_->OnSize(0, 0, x, y);
        OnSize(0, 0, x, y);
        return handled_;
    case WM_TIMER:
        root_->OnTimer(static_cast<UINT>(wParam));
        OnTimer(static_cast<UINT>(wParam));
        return handled_;
    case WM_MOUSEHOVER:
        root_->OnMouseHover(flags, x, y);
        OnMouseHover(flags, x, y);
        return handled_;
    case WM_MOUSELEAVE:
        if (!mouseOutside_) {
            HandleMouseLeave();
        }
        return handled_;
    case WM_NCHITTEST:
        result = HandleNcHitTest(lParam);
        return handled_;
    case WM_SETCURSOR: {
        int cursorHandled = 0;
        root_->OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam), &cursorHandled);
        result = cursorHandled ? 1 : DefWindowProc();
        return handled_;
    }
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        HandlePaint(reinterpret_cast<HDC>(wParam));
        return true;
    case layer::kMsgRedraw:
        HandleRedraw(reinterpret_cast<RECT*>(lParam));
        return true;
    case WM_THEMECHANGED:
        backgroundDirty_ = 1;
        ::PostMessageW(GetHwnd(), layer::kMsgRedraw, 0, 0);
        return false;
    default:
        break;
    }
    if (message >= WM_MOUSEFIRST && message <= kLastRelayedMouseMessage) {
        RelayToTooltip(message, wParam, lParam);
        HandleMouseMessage(message, wParam, lParam);
        return handled_;
    }
    return false;
}

void CLayerWindowBase::HandleCreate()
{
    mouseOutside_ = 1;
    const RECT client = ClientRect(GetHwnd());
    root_->Create(GetHwnd(), this, -1, client, 0);
    OnCreate();
    Redraw(nullptr, 1);
}

void CLayerWindowBase::HandleDestroy()
{
    if (!timers_.empty() && IsWindow()) {
        for (const auto& timer : timers_) {
            ::KillTimer(GetHwnd(), timer.first);
        }
    }
    timers_.clear();
    if (tooltip_ != nullptr) {
        DestroyWindow(tooltip_);
        tooltip_ = nullptr;
    }
    tooltipText_.clear();
    OnDestroy();
    root_->OnDestroy();
}

void CLayerWindowBase::HandleMouseLeave()
{
    // While the button is held the window keeps the capture: the pressed control still gets its
    // release, wherever the pointer went.
    ILayerControl* pressed = GetCapture() == GetHwnd() ? root_->GetPressedControl() : nullptr;
    root_->OnMouseLeave();
    root_->SetPressedControl(pressed);
    OnMouseLeave();
    mouseOutside_ = 1;
}

LRESULT CLayerWindowBase::HandleNcHitTest(LPARAM lParam)
{
    const LRESULT standard = DefWindowProc();
    OnNcHitTest(XFromLParam(lParam), YFromLParam(lParam));
    if (standard != HTCLIENT || !dragEnabled_) {
        return standard;
    }
    POINT point = {XFromLParam(lParam), YFromLParam(lParam)};
    ScreenToClient(GetHwnd(), &point);
    ILayerControl* control = root_->ChildAt(point.x, point.y);
    return control == nullptr || control->IsDragThrough() ? HTCAPTION : standard;
}

void CLayerWindowBase::HandleMouseMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const UINT flags = static_cast<UINT>(wParam);
    const int x = XFromLParam(lParam);
    const int y = YFromLParam(lParam);
    int pressHandled = 1;
    switch (message) {
    case WM_MOUSEMOVE:
        root_->OnMouseMove(flags, x, y);
        OnMouseMove(flags, x, y);
        if (mouseOutside_) {
            TrackMouse();
            mouseOutside_ = 0;
        }
        break;
    case WM_LBUTTONDOWN:
        SetCapture(GetHwnd());
        root_->OnLButtonDown(flags, x, y, &pressHandled);
        OnLButtonDown(flags, x, y);
        break;
    case WM_LBUTTONUP:
        root_->OnLButtonUp(flags, x, y, &pressHandled);
        OnLButtonUp(flags, x, y);
        ReleaseCapture();
        break;
    case WM_LBUTTONDBLCLK:
        root_->OnLButtonDblClk(flags, x, y, &pressHandled);
        OnLButtonDblClk(flags, x, y);
        break;
    case WM_RBUTTONDOWN:
        root_->OnRButtonDown(flags, x, y, &pressHandled);
        OnRButtonDown(flags, x, y);
        break;
    case WM_RBUTTONUP:
        root_->OnRButtonUp(flags, x, y, &pressHandled);
        OnRButtonUp(flags, x, y);
        break;
    default:
        handled_ = 0;
        break;
    }
}

void CLayerWindowBase::RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (tooltip_ == nullptr) {
        return;
    }
    MSG relayed = {GetHwnd(), message, wParam, lParam, 0, {0, 0}};
    ::SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

HBITMAP CLayerWindowBase::FrameBitmap(HDC reference)
{
    const RECT client = ClientRect(GetHwnd());
    if (frameBitmap_ && !SameSize(frameBitmap_.Get(), client)) {
        frameBitmap_.Reset();
    }
    if (!frameBitmap_) {
        frameBitmap_.Reset(CreateDib32(reference, client.right - client.left, client.bottom - client.top));
    }
    return frameBitmap_.Get();
}

void CLayerWindowBase::DrawFrame(HDC dc)
{
    const RECT client = ClientRect(GetHwnd());
    if (backgroundBitmap_ && !SameSize(backgroundBitmap_.Get(), client)) {
        backgroundBitmap_.Reset();
    }
    if (!backgroundBitmap_) {
        backgroundBitmap_.Reset(CreateCompatibleBitmap(dc, client.right - client.left, client.bottom - client.top));
        backgroundDirty_ = 1;
    }
    {
        CBitmapDC background(backgroundBitmap_.Get(), dc);
        if (backgroundDirty_) {
            const int saved = SaveDC(background.Get());
            DrawBackground(background.Get(), client);
            RestoreDC(background.Get(), saved);
            backgroundDirty_ = 0;
        }
        background.BlitTo(dc, 0, 0);
    }
    DrawUnderlay(dc, client);
    DrawControls(dc, client);
    DrawOverlay(dc, client);
}

void CLayerWindowBase::HandleRedraw(RECT* rect)
{
    const std::unique_ptr<RECT> owned(rect);
    if (!IsLayered()) {
        draw::SetTextMode(draw::TextMode::kNormal);
        InvalidateRect(GetHwnd(), rect, FALSE);
        return;
    }
    if (antiAliasedText_) {
        draw::SetTextMode(draw::TextMode::kAntiAlias);
    }
    WindowDC screen(nullptr);
    HBITMAP frame = FrameBitmap(screen.Get());
    if (frame == nullptr) {
        return;
    }
    UniqueMemoryDC memory(CreateCompatibleDC(screen.Get()));
    SelectedObject selected(memory.Get(), frame);
    UniqueRegion clip(rect != nullptr ? CreateRectRgnIndirect(rect) : nullptr);
    if (clip) {
        SelectClipRgn(memory.Get(), clip.Get());
    }
    DrawFrame(memory.Get());
    SelectClipRgn(memory.Get(), nullptr);

    RECT window = {};
    GetWindowRect(GetHwnd(), &window);
    POINT destination = {window.left, window.top};
    SIZE size = {window.right - window.left, window.bottom - window.top};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(constantAlpha_), AC_SRC_ALPHA};
    UpdateLayeredWindow(GetHwnd(), screen.Get(), &destination, &size, memory.Get(), &source, 0, &blend, ULW_ALPHA);
}

void CLayerWindowBase::HandlePaint(HDC target)
{
    draw::SetTextMode(antiAliasedText_ ? draw::TextMode::kAntiAlias : draw::TextMode::kNormal);
    PAINTSTRUCT paint = {};
    HDC dc = target;
    if (dc == nullptr) {
        dc = BeginPaint(GetHwnd(), &paint);
    }
    {
        WindowDC screen(nullptr);
        HBITMAP frame = FrameBitmap(screen.Get());
        if (frame != nullptr) {
            UniqueMemoryDC memory(CreateCompatibleDC(screen.Get()));
            SelectedObject selected(memory.Get(), frame);
            DrawFrame(memory.Get());
            const RECT client = ClientRect(GetHwnd());
            BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
        }
    }
    if (target == nullptr) {
        EndPaint(GetHwnd(), &paint);
    }
}

void CLayerWindowBase::DrawBackground(HDC dc, const RECT& client)
{
    draw::FillRect(dc, client, kDefaultBackground, layer::kAlpha);
}

void CLayerWindowBase::DrawControls(HDC dc, const RECT& client) { root_->Draw(dc); }

int CLayerWindowBase::TrackMouse()
{
    TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, GetHwnd(), HOVER_DEFAULT};
    return TrackMouseEvent(&track);
}

TOOLINFOW CLayerWindowBase::ToolInfo()
{
    TOOLINFOW tool = {};
    tool.cbSize = MajorVersion() >= 6 ? kToolInfoSizeV6 : kToolInfoSizeOld;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = ::GetParent(GetHwnd());
    tool.uId = reinterpret_cast<UINT_PTR>(GetHwnd());
    tool.hinst = GetModuleHandleW(nullptr);
    return tool;
}

void CLayerWindowBase::ShowTooltip(int show, const std::wstring& text)
{
    if (tooltip_ == nullptr) {
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetHwnd(), nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        if (tooltip_ == nullptr) {
            return;
        }
        ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, kTooltipMaxWidth);
        ::SendMessageW(tooltip_, TTM_ACTIVATE, TRUE, 0);
    }
    TOOLINFOW tool = ToolInfo();
    if (!show) {
        ::SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        tooltipText_.clear();
        return;
    }
    if (text == tooltipText_) {
        return;
    }
    tooltipText_ = text;
    ::SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    tool.lpszText = const_cast<wchar_t*>(tooltipText_.c_str());
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

int CLayerWindowBase::SetTimer(UINT id, UINT milliseconds)
{
    const auto found = timers_.find(id);
    if (found != timers_.end()) {
        ++found->second;
        return 1;
    }
    if (!IsWindow() || ::SetTimer(GetHwnd(), id, milliseconds, nullptr) == 0) {
        return 0;
    }
    timers_.emplace(id, 1);
    return 1;
}

int CLayerWindowBase::KillTimer(UINT id)
{
    const auto found = timers_.find(id);
    if (found == timers_.end()) {
        return 0;
    }
    if (IsWindow()) {
        ::KillTimer(GetHwnd(), id);
    }
    timers_.erase(found);
    return 1;
}

void CLayerWindowBase::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    ::PostMessageW(GetHwnd(), message, wParam, lParam);
}

LRESULT CLayerWindowBase::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(GetHwnd(), message, wParam, lParam);
}

void CLayerWindowBase::Redraw(RECT* rect, int full)
{
    // A partial request never cancels a full one that is still waiting for its frame.
    backgroundDirty_ = backgroundDirty_ || full;
    if (!::PostMessageW(GetHwnd(), layer::kMsgRedraw, 0, reinterpret_cast<LPARAM>(rect))) {
        delete rect;
    }
}
