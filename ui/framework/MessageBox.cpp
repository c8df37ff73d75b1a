#include "ui/framework/MessageBox.h"

#include <windows.h>

bool CMessageBox::silent_ = false;

void CMessageBox::SetSilent(bool silent) { silent_ = silent; }

int CMessageBox::Show(const wchar_t* text, int type)
{
    if (silent_) {
        return msgbox::kSilentResult;
    }
    const UINT buttons = type == msgbox::kYesNo ? MB_YESNO : MB_OK;
    return MessageBoxW(nullptr, text, L"凯洛壁纸卸载", buttons | MB_TOPMOST);
}
