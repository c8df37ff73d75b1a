// Names shared with the product's installer that let one running setup program find another.
#pragma once

#include <windows.h>

namespace instance {

// Named mutex, local namespace, held by whichever installer or uninstaller runs.
inline constexpr wchar_t kMutexName[] = L"ZuduvAvodUzadiInstaller";
// Window class of the installer's main window and of the uninstaller's own main window.
inline constexpr wchar_t kMainWindowClass[] = L"ZuduvAvodUzadiSetupMainWnd";
// Posted, with both parameters 0, to the running program's main window by a refused second one.
inline constexpr UINT kActivateMessage = 0x1400;

}  // namespace instance
