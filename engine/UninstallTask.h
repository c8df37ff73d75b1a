// The door from start-up and the screens into the uninstall engine.
#pragma once

#include "config/SetupConfig.h"

#include <windows.h>

#include <string>

class CUninstallTask {
public:
    // 0 when the program may uninstall; 2 when its own file lacks the maker's signature,
    // 3 when the archive library in its own directory cannot be loaded.
    int PreInitCheck();
    // Unpacks the setup configuration from the given resource and loads its project file; true on success.
    bool InitConfig(HINSTANCE instance, int resourceId, const wchar_t* resourceType, const wchar_t* projectFile);
    // Writes the text verbatim as one line of the log.
    int WriteLog(const wchar_t* text);
    void SetInstallDir(const wchar_t* dir);
    // The installation directory set at start, empty before.
    const std::wstring& GetInstallDir() const { return installDir_; }

    // The parsed setup configuration.
    CSetupConfig& SetupConfig() { return setupConfig_; }

private:
    CSetupConfig setupConfig_;
    std::wstring installDir_;
};

// The process's one uninstall task, constructed before the entry point runs.
CUninstallTask& UninstallTask();
