// demo_install.exe [/dir=INSTALL_DIR] [/from=SOURCE_DIR]
// Installs the demo product into INSTALL_DIR (default "C:\Program Files\Kelvo Papyr") from the demo
// components in SOURCE_DIR (default: this program's own directory). Exit code 0 on success, 1 otherwise.
#include "demo/DemoInstaller.h"

#include "base/PathUtil.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

constexpr wchar_t kDefaultInstallDir[] = L"C:\\Program Files\\Kelvo Papyr";

bool TakeSwitch(const std::wstring& argument, const wchar_t* name, std::wstring& value)
{
    const std::wstring prefix = std::wstring(name) + L"=";
    if (_wcsnicmp(argument.c_str(), prefix.c_str(), prefix.size()) != 0) {
        return false;
    }
    value = argument.substr(prefix.size());
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring installDir = kDefaultInstallDir;
    std::wstring sourceDir = GetModuleDirectory();
    for (int index = 1; index < argc; ++index) {
        const std::wstring argument = argv[index];
        if (!TakeSwitch(argument, L"/dir", installDir) && !TakeSwitch(argument, L"/from", sourceDir)) {
            fwprintf(stderr, L"unknown argument: %ls\n", argument.c_str());
            return 1;
        }
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool installed = DemoInstaller(sourceDir, installDir).Install();
    CoUninitialize();
    if (installed) {
        wprintf(L"installed the demo product into %ls\n", installDir.c_str());
    }
    return installed ? 0 : 1;
}
