// The demo product's hook DLLs. The one-argument form (standard calling convention, one wide string)
// carries every export the uninstaller calls that way: the project entry "DS", the file_pe and
// Hardwix "Uninst", the shell extensions' "ShellOpen_Vantomi32W" and the game centre's "Start4RunDll".
// Built with DEMO_INTERFACE_HOOK it is the run_list form instead: "Uninst" (parameter, buffer,
// capacity) writes "done:<parameter>" and returns the number after "ret=" in the parameter, else 0.
#include "demo/DemoJournal.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

HMODULE g_module = nullptr;

void Record(const wchar_t* entry, const std::wstring& argument)
{
    AppendJournal(ModuleFileName(g_module), entry, argument);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

#ifdef DEMO_INTERFACE_HOOK

extern "C" __declspec(dllexport) int WINAPI Uninst(const wchar_t* parameter, wchar_t* buffer, int capacity)
{
    const std::wstring text = parameter != nullptr ? parameter : L"";
    Record(L"Uninst", text + L" capacity=" + std::to_wstring(capacity));
    const std::wstring answer = L"done:" + text;
    if (buffer != nullptr && capacity > 0) {
        const size_t copied = answer.size() < static_cast<size_t>(capacity) ? answer.size() : capacity - 1;
        answer.copy(buffer, copied);
        buffer[copied] = L'\0';
    }
    const size_t at = text.find(L"ret=");
    return at == std::wstring::npos ? 0 : _wtoi(text.c_str() + at + 4);
}

#else

extern "C" __declspec(dllexport) int WINAPI DS(const wchar_t* argument)
{
    Record(L"DS", argument != nullptr ? argument : L"");
    return 0;
}

extern "C" __declspec(dllexport) int WINAPI Uninst(const wchar_t* argument)
{
    Record(L"Uninst", argument != nullptr ? argument : L"");
    return 0;
}

extern "C" __declspec(dllexport) int WINAPI ShellOpen_Vantomi32W(const wchar_t* argument)
{
    Record(L"ShellOpen_Vantomi32W", argument != nullptr ? argument : L"");
    return 0;
}

extern "C" __declspec(dllexport) int WINAPI Start4RunDll(const wchar_t* argument)
{
    Record(L"Start4RunDll", argument != nullptr ? argument : L"");
    return 0;
}

#endif
