// The product's setup description, read from the configuration the executable carries.
#pragma once

#include "config/UninstallRootDirList.h"

#include <windows.h>

#include <string>
#include <vector>

class CXMLArchive;

// A window of the product that is asked to quit, and how.
struct CloseProgramRecord {
    wchar_t windowClass[200];
    DWORD message;
    DWORD wParam;
    DWORD lParam;
    DWORD timeout;
};

// A program or DLL export of the product that is called on uninstall.
struct UninstallHookRecord {
    wchar_t fileName[MAX_PATH];
    wchar_t type[MAX_PATH];
    wchar_t functionName[MAX_PATH];
    wchar_t parameter[MAX_PATH];
    wchar_t commandLine[MAX_PATH];
    wchar_t signType[MAX_PATH];
    DWORD waitTime;
    DWORD synchronous;
};

// A shell-extension DLL entry called through the product's rundll launcher on uninstall.
struct UnregisterRecord {
    wchar_t fileName[MAX_PATH];
    wchar_t entry[MAX_PATH];
    wchar_t commandLine[MAX_PATH];
    DWORD waitTime;
};

// What the engine asks of the setup configuration. String getters clear the buffer's first
// character and copy only a value shorter than the buffer; record getters clear the record and copy
// the one at a valid index.
class ISetupConfig {
public:
    virtual bool InitConfig(HINSTANCE module, int resourceId, const wchar_t* resourceType,
                            const wchar_t* projectFile) = 0;
    virtual int GetMinimizeSpace() = 0;
    virtual IUninstallRootDirList* GetRootDirList() = 0;
    virtual bool GetVersion(wchar_t* buffer, int size) = 0;
    virtual bool GetMainApp(wchar_t* buffer, int size) = 0;
    virtual HKEY GetRegAppPathRoot() = 0;
    virtual bool GetRegAppPathSubKey(wchar_t* buffer, int size) = 0;
    virtual bool GetRegAppPathValue(wchar_t* buffer, int size) = 0;
    virtual int GetCloseProgramCount() = 0;
    virtual bool GetCloseProgram(int index, CloseProgramRecord* record) = 0;
    virtual bool GetCheckFile(int index, wchar_t* buffer, int size) = 0;
    virtual int GetCheckFileCount() = 0;
    virtual bool GetInstallHook(int index, UninstallHookRecord* record) = 0;
    virtual int GetInstallHookCount() = 0;
    virtual bool GetUninstallHook(int index, UninstallHookRecord* record) = 0;
    virtual int GetUninstallHookCount() = 0;
    virtual int GetFileCount() = 0;

protected:
    ~ISetupConfig() = default;
};

class CSetupConfig : public ISetupConfig {
public:
    CSetupConfig() = default;
    // Removes the directory the configuration was unpacked to.
    virtual ~CSetupConfig();
    CSetupConfig(const CSetupConfig&) = delete;
    CSetupConfig& operator=(const CSetupConfig&) = delete;
    virtual void Release();

    bool InitConfig(HINSTANCE module, int resourceId, const wchar_t* resourceType,
                    const wchar_t* projectFile) override;
    int GetMinimizeSpace() override;
    IUninstallRootDirList* GetRootDirList() override;
    bool GetVersion(wchar_t* buffer, int size) override;
    bool GetMainApp(wchar_t* buffer, int size) override;
    HKEY GetRegAppPathRoot() override;
    bool GetRegAppPathSubKey(wchar_t* buffer, int size) override;
    bool GetRegAppPathValue(wchar_t* buffer, int size) override;
    int GetCloseProgramCount() override;
    bool GetCloseProgram(int index, CloseProgramRecord* record) override;
    bool GetCheckFile(int index, wchar_t* buffer, int size) override;
    int GetCheckFileCount() override;
    bool GetInstallHook(int index, UninstallHookRecord* record) override;
    int GetInstallHookCount() override;
    bool GetUninstallHook(int index, UninstallHookRecord* record) override;
    int GetUninstallHookCount() override;
    int GetFileCount() override;

    // Loads the project file and its root list; false when either is unusable.
    bool Load(const std::wstring& projectFile);
    // The unregister items for this Windows' bitness, read by the hook runner.
    const std::vector<UnregisterRecord>& UnregisterList() const { return unregisterList_; }
    const std::vector<UninstallHookRecord>& UninstallHookList() const { return uninstallHooks_; }

private:
    void ReadMain(const CXMLArchive& document, const std::wstring& projectDir);
    void ReadRegistry(const CXMLArchive& document);
    void ReadClosePrograms(const CXMLArchive& document);
    void ReadUnregisterItems(const CXMLArchive& document);
    void ReadUninstallHooks(const CXMLArchive& document);

    std::vector<CloseProgramRecord> closePrograms_;
    std::vector<std::wstring> checkFiles_;
    std::vector<UninstallHookRecord> installHooks_;
    std::vector<UninstallHookRecord> uninstallHooks_;
    std::vector<UnregisterRecord> unregisterList_;
    int minimizeSpace_ = 100;
    HKEY registryRoot_ = HKEY_LOCAL_MACHINE;
    std::wstring registrySubKey_;
    std::wstring registryValue_;
    std::wstring version_;
    std::wstring mainApp_;
    std::wstring rootListPath_;
    std::wstring extractionDir_;
    std::wstring fileListPath_;
    int fileCount_ = 200;
    CUninstallRootDirList rootDirList_;
    CUninstallRootDirList secondRootDirList_;
};
