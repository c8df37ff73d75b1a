#include "ui/framework/WindowImpl.h"

#include <cwchar>

namespace {

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

}  // namespace

CWindowImplBase::~CWindowImplBase()
{
    if (IsWindow()) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

const wchar_t* CWindowImplBase::ClassNameOf(const CWndClassInfo& info)
{
    return info.name != nullptr ? info.name : info.autoName;
}

ATOM CWindowImplBase::Register(CWndClassInfo& info)
{
    if (info.atom != 0) {
        return info.atom;
    }
    if (info.name == nullptr) {
        swprintf(info.autoName, std::size(info.autoName), L"ATL:%p", static_cast<void*>(&info));
    }
    WNDCLASSEXW wc = {sizeof(wc)};
    if (info.superClass != nullptr) {
        if (!GetClassInfoExW(nullptr, info.superClass, &wc)) {
            return 0;
        }
        info.superProc = wc.lpfnWndProc;
    } else {
        info.superProc = ::DefWindowProcW;
        wc.style = info.style;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    }
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = ClassNameOf(info);
    info.atom = RegisterClassExW(&wc);
    if (info.atom == 0 && GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
        info.atom = static_cast<ATOM>(GetClassInfoExW(ModuleInstance(), wc.lpszClassName, &wc));
    }
    return info.atom;
}

HWND CWindowImplBase::Create(HWND parent, const RECT* rect, const wchar_t* title, DWORD style, DWORD exStyle,
                             UINT id)
{
    CWndClassInfo& info = GetWndClassInfo();
    if (Register(info) == 0) {
        return nullptr;
    }
    superProc_ = info.superProc;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    if (rect != nullptr) {
        x = rect->left;
        y = rect->top;
        width = rect->right - rect->left;
        height = rect->bottom - rect->top;
    }
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    return CreateWindowExW(exStyle, ClassNameOf(info), title, style, x, y, width, height, parent, menu,
                           ModuleInstance(), this);
}

LRESULT CALLBACK CWindowImplBase::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CWindowImplBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr && message == WM_NCCREATE) {
        self = static_cast<CWindowImplBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self != nullptr) {
            self->hwnd_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Dispatch(message, wParam, lParam);
}

LRESULT CWindowImplBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    const MSG saved = current_;
    current_ = {hwnd_, message, wParam, lParam, 0, {0, 0}};
    LRESULT result = 0;
    if (!ProcessWindowMessage(message, wParam, lParam, result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    current_ = saved;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        OnFinalMessage();
    }
    return result;
}

LRESULT CWindowImplBase::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(superProc_, hwnd_, message, wParam, lParam);
}

LRESULT CWindowImplBase::DefWindowProc()
{
    return DefWindowProc(current_.message, current_.wParam, current_.lParam);
}

bool CWindowImplBase::CenterWindow() { return CenterTopLevelWindow(hwnd_); }

bool CenterTopLevelWindow(HWND window)
{
    RECT own = {};
    if (!GetWindowRect(window, &own)) {
        return false;
    }
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    MONITORINFO monitorInfo = {sizeof(monitorInfo)};
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &monitorInfo)) {
        return false;
    }
    const RECT work = monitorInfo.rcWork;
    RECT centre = work;
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &centre);
    }
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    int x = (centre.left + centre.right) / 2 - width / 2;
    int y = (centre.top + centre.bottom) / 2 - height / 2;
    if (x + width > work.right) {
        x = work.right - width;
    }
    if (y + height > work.bottom) {
        y = work.bottom - height;
    }
    if (x < work.left) {
        x = work.left;
    }
    if (y < work.top) {
        y = work.top;
    }
    return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}
