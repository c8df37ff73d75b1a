// A DLL planted under a system DLL's name: when any process loads it, it leaves a marker file
// C:\planted\<its file name>.loaded and refuses to load.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(instance, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.find_last_of(L'\\') + 1);
    CreateDirectoryW(L"C:\\planted", nullptr);
    HANDLE marker = CreateFileW((L"C:\\planted\\" + name + L".loaded").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr);
    if (marker != INVALID_HANDLE_VALUE) {
        CloseHandle(marker);
    }
    return FALSE;
}
