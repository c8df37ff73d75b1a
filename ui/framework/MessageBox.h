// The program's modal message box: dialog resource 249 drawn entirely by a control tree (background,
// title "<product>卸载", message, up to two buttons and a close button). Silent runs show nothing.
#pragma once

#include "ui/framework/ILayerWindow.h"
#include "ui/framework/LayerControlRootView.h"
#include "ui/framework/MemoryDC.h"

#include <memory>
#include <string>

class CLayerButtonCtrl;

namespace msgbox {
// Button sets (low 4 bits of the type): OK; OK and Cancel; Yes and No.
inline constexpr int kOk = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kYesNo = 4;
// Answer in silent mode and when the box cannot be shown.
inline constexpr int kNoAnswer = -1;
// Answer of the close button and of WM_CLOSE.
inline constexpr int kClosed = 8;
// The dialog template and the box's client size.
inline constexpr int kDialogId = 249;
inline constexpr int kWidth = 542;
inline constexpr int kHeight = 255;
// Command id of the close button.
inline constexpr int kCloseId = 1000;
}  // namespace msgbox

class CMessageBox : public ILayerWindow {
public:
    // Set from "/S" at start-up: while set, Show answers -1 at once.
    static void SetSilent(bool silent);
    static bool IsSilent();
    // Shows text modally, owned by the active window; answers the clicked button's id (1, 2, 6 or 7),
    // 8 for the close button, or -1 when silent or when the dialog cannot be created.
    static int Show(const wchar_t* text, int type);

    // ILayerWindow: the box needs no timers, tooltips or outlines.
    int GetOutlineMode() override { return 0; }
    void SetOutlineMode(int) override {}
    HWND GetHWND() override { return hwnd_; }
    void ShowTooltip(int, const std::wstring&) override {}
    int SetTimer(UINT, UINT) override { return 1; }
    int KillTimer(UINT) override { return 1; }
    void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Draws the whole tree into the back buffer and invalidates the dialog; frees rect.
    void Redraw(RECT* rect, int full) override;

private:
    CMessageBox(const wchar_t* text, int type);
    ~CMessageBox() = default;

    int Run();
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnInitDialog();
    void BuildControls();
    CLayerButtonCtrl* AddButton(int id, const RECT& rect, const wchar_t* caption, int imageId, COLORREF color);
    void OnPaint();
    LRESULT OnNcHitTest(LPARAM lParam);
    bool OnCommand(int id);
    void OnMouse(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    int handled_ = 0;
    std::unique_ptr<CLayerControlRootView> root_;
    CLayerButtonCtrl* primary_ = nullptr;
    CLayerButtonCtrl* secondary_ = nullptr;
    CLayerButtonCtrl* close_ = nullptr;
    std::unique_ptr<CMemoryDCEx> backBuffer_;
    int mouseOutside_ = 1;
    int type_;
    int primaryId_ = 0;
    int secondaryId_ = 0;
    std::wstring message_;
    int nextDecorativeId_ = 2000;
};
