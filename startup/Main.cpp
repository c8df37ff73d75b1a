// The Windows entry point of Uninstall.exe.
#include "startup/Startup.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR tail, int)
{
    // No DLL is ever taken from the program's own folder by name: only the system directory is searched.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    return RunUninstaller(instance, tail);
}
