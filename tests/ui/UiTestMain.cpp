// The UI tests run with GDI+ started, the UI font chosen and the program's registrations made, as
// start-up leaves the process before the first window.
#include "ui/framework/ResInitializer.h"
#include "ui/framework/UIFont.h"

#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    CUIFont::Instance()->Select();
    ResInitializer::Instance().Initialize();
    const int result = RUN_ALL_TESTS();
    ResInitializer::Instance().Uninitialize();
    Gdiplus::GdiplusShutdown(token);
    CoUninitialize();
    return result;
}
