// The demo product's programs. Every start appends a "main" line with the command-line tail to the
// journal. Built as:
//   DEMO_MAIN      the main program "dovirad.exe": top-level windows of the product's close classes
//                  that end on WM_COMMAND 40011, a note of the "zuduvavoduzadi_quit" broadcast, and
//                  with "--load-assist" in its tail it loads "Utils\Assist.dll" beside itself; runs
//                  until its windows are closed.
//   DEMO_SERVICE   the service program "kelvosrv.exe": runs until it is terminated.
//   DEMO_LAUNCHER  the rundll launcher: "--dll="PATH" --entry=NAME REST" loads PATH and calls its
//                  one-argument export NAME with REST.
//   (none)         a hook program: ends at once, or runs until terminated with "--stay" in its tail.
// Exit code 0.
#include "demo/DemoJournal.h"

#include <windows.h>

#include <string>

namespace {

constexpr UINT kCloseCommand = 40011;
const wchar_t* const kCloseClasses[] = {L"DoviradMessageWnd", L"DoviradDeskWidgetWnd"};
constexpr wchar_t kQuitBroadcast[] = L"zuduvavoduzadi_quit";

// The command line without the program's own token and the blanks after it.
std::wstring CommandTail()
{
    const wchar_t* line = GetCommandLineW();
    if (*line == L'"') {
        ++line;
        while (*line != L'\0' && *line != L'"') {
            ++line;
        }
        if (*line == L'"') {
            ++line;
        }
    } else {
        while (*line != L'\0' && *line != L' ' && *line != L'\t') {
            ++line;
        }
    }
    while (*line == L' ' || *line == L'\t') {
        ++line;
    }
    return line;
}

[[maybe_unused]] bool Has(const std::wstring& tail, const wchar_t* word) { return tail.find(word) != std::wstring::npos; }

[[maybe_unused]] void RunUntilQuit()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

#if defined(DEMO_MAIN)

UINT g_quitBroadcast = 0;
int g_openWindows = 0;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (message == WM_COMMAND && LOWORD(wParam) == kCloseCommand) {
        AppendJournal(ModuleFileName(nullptr), L"close",
                      std::wstring(className) + L" wParam=" + std::to_wstring(wParam) +
                          L" lParam=" + std::to_wstring(lParam));
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY && --g_openWindows == 0) {
        PostQuitMessage(0);
    }
    if (g_quitBroadcast != 0 && message == g_quitBroadcast) {
        AppendJournal(ModuleFileName(nullptr), L"broadcast", className);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring OwnDirectory()
{
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L'\\'));
}

void RunRole(HINSTANCE instance, const std::wstring& tail)
{
    if (Has(tail, L"--load-assist")) {
        LoadLibraryW((OwnDirectory() + L"\\Utils\\Assist.dll").c_str());
    }
    g_quitBroadcast = RegisterWindowMessageW(kQuitBroadcast);
    for (const wchar_t* name : kCloseClasses) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = MainWindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = name;
        RegisterClassW(&windowClass);
        if (CreateWindowExW(WS_EX_TOOLWINDOW, name, name, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance,
                            nullptr) != nullptr) {
            ++g_openWindows;
        }
    }
    if (g_openWindows > 0) {
        RunUntilQuit();
    }
}

#elif defined(DEMO_SERVICE)

void RunRole(HINSTANCE, const std::wstring&) { RunUntilQuit(); }

#elif defined(DEMO_LAUNCHER)

using OneArgumentExport = int(WINAPI*)(const wchar_t*);

void RunRole(HINSTANCE, const std::wstring& tail)
{
    const std::wstring dllSwitch = L"--dll=\"";
    const std::wstring entrySwitch = L"--entry=";
    const size_t dllAt = tail.find(dllSwitch);
    const size_t dllEnd = dllAt == std::wstring::npos ? dllAt : tail.find(L'"', dllAt + dllSwitch.size());
    const size_t entryAt = tail.find(entrySwitch);
    if (dllEnd == std::wstring::npos || entryAt == std::wstring::npos) {
        return;
    }
    const std::wstring dll = tail.substr(dllAt + dllSwitch.size(), dllEnd - dllAt - dllSwitch.size());
    const size_t entryEnd = tail.find(L' ', entryAt);
    const std::wstring entry = tail.substr(entryAt + entrySwitch.size(), entryEnd == std::wstring::npos
                                                                             ? std::wstring::npos
                                                                             : entryEnd - entryAt - entrySwitch.size());
    const std::wstring rest = entryEnd == std::wstring::npos ? std::wstring() : tail.substr(entryEnd + 1);
    HMODULE module = LoadLibraryW(dll.c_str());
    if (module == nullptr) {
        return;
    }
    const std::string exportName(entry.begin(), entry.end());
    auto function = reinterpret_cast<OneArgumentExport>(GetProcAddress(module, exportName.c_str()));
    if (function != nullptr) {
        function(rest.c_str());
    }
    FreeLibrary(module);
}

#else

void RunRole(HINSTANCE, const std::wstring& tail)
{
    if (Has(tail, L"--stay")) {
        RunUntilQuit();
    }
}

#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    const std::wstring tail = CommandTail();
    AppendJournal(ModuleFileName(nullptr), L"main", tail);
    RunRole(instance, tail);
    return 0;
}
