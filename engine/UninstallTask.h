// The door from start-up and the screens into the uninstall engine: the project configuration
// and the engine behind one interface.
#pragma once

#include "config/SetupConfig.h"
#include "engine/UninstallCallback.h"
#include "engine/Uninstaller.h"

#include <windows.h>

class IUninstallTask {
public:
    // 0 when the program may uninstall; 2 when its own file lacks the maker's signature,
    // 3 when the archive library in its own directory cannot be loaded.
    virtual int PreInitCheck() = 0;
    // Unpacks the setup configuration from the given resource and loads its project file.
    virtual bool InitConfig(HINSTANCE instance, int resourceId, const wchar_t* resourceType,
                            const wchar_t* projectFile) = 0;
    virtual void StartUninstall(IUninstallCallback* callback) = 0;
    // Writes the text verbatim as one line of the log.
    virtual int WriteLog(const wchar_t* text) = 0;
    virtual bool IsGameCenterUnplayed() = 0;
    virtual void SetGameCenterUninstall(int value) = 0;
    virtual bool IsGameCenterVendor() = 0;
    virtual void SetRemoveAppData(int remove) = 0;
    virtual void SetInstallDir(const wchar_t* dir) = 0;
    virtual int GetInstallDir(wchar_t* buffer, int capacity) = 0;
    virtual void DetachCallback() = 0;
    virtual bool CanUninstall() = 0;
    virtual void Reserved() = 0;

protected:
    ~IUninstallTask() = default;
};

class CUninstallTask : public IUninstallTask {
public:
    int PreInitCheck() override;
    bool InitConfig(HINSTANCE instance, int resourceId, const wchar_t* resourceType,
                    const wchar_t* projectFile) override;
    void StartUninstall(IUninstallCallback* callback) override { uninstaller_.StartUninstall(callback); }
    int WriteLog(const wchar_t* text) override;
    bool IsGameCenterUnplayed() override;
    void SetGameCenterUninstall(int value) override;
    bool IsGameCenterVendor() override;
    void SetRemoveAppData(int remove) override { uninstaller_.SetRemoveAppData(remove); }
    void SetInstallDir(const wchar_t* dir) override { uninstaller_.SetInstallDir(dir); }
    int GetInstallDir(wchar_t* buffer, int capacity) override;
    void DetachCallback() override { uninstaller_.DetachCallback(); }
    bool CanUninstall() override { return true; }
    void Reserved() override {}

    // The parsed setup configuration.
    CSetupConfig& SetupConfig() { return setupConfig_; }
    CUninstaller& Uninstaller() { return uninstaller_; }

private:
    CSetupConfig setupConfig_;
    CUninstaller uninstaller_;
};

// The process's one uninstall task, constructed before the entry point runs.
CUninstallTask& UninstallTask();
