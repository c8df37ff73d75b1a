// The product's own uninstall hooks: programs and DLL exports named by the project file, by the
// run_list and file_pe registry lists, and a few fixed programs of the installation.
#pragma once

#include "config/SetupConfig.h"

#include <string>

// The project file's programs and DLL entries, each after its signature check. Always true.
bool RunUninstallProgramEntries(const CSetupConfig& config, const std::wstring& installDir);

// The shell-extension DLL entries through the product's signed rundll launcher; false (silently)
// when the launcher lacks the maker's signature.
bool RunRundllEntries(const CSetupConfig& config, const std::wstring& installDir);

// The programs and DLLs of the App Paths "run_list" key, called with their registry data.
void RunRunListHooks(const std::wstring& installDir);

// The programs and DLLs of the App Paths "file_pe" key, called with their registry data.
void RunFilePeHooks(const std::wstring& installDir);

// "Uninst" of "wallpaperhelper\Hardwix12.dll", signature checked.
void RunHardwixHook(const std::wstring& installDir);

// The homepage guard "Utils\pageward.exe", hidden, waited for up to 5 seconds.
void RunHomepageGuard(const std::wstring& installDir);

// The game centre's uninstall: its DLL export when signed and present, else its program. Always true.
bool RunGameCentreHook(const std::wstring& installDir, bool uninstallGameCentre);

// The product code word and PID handed to run_list programs: "kelvo" and HKCU's "PID" when the
// product's main program lies in programDir, else both empty.
void ProductCodeAndPid(const std::wstring& programDir, std::wstring& codeWord, std::wstring& pid);
