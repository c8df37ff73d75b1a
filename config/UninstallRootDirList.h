// The directories and files the product puts directly into its installation directory.
#pragma once

#include <windows.h>

#include <map>
#include <string>

// One entry as handed to callers.
struct RootDirEntry {
    wchar_t name[MAX_PATH];
    DWORD isDirectory;
    DWORD optional;
};

// Look-ups by name, without regard to case.
class IUninstallRootDirList {
public:
    virtual bool LoadFromResource(HMODULE module, const wchar_t* resourceName, const wchar_t* resourceType) = 0;
    virtual bool Load(const wchar_t* path) = 0;
    virtual int GetCount() = 0;
    // The entry at index in upper-case key order; false outside 0 to count - 1 or without a buffer.
    virtual bool GetEntry(int index, RootDirEntry* entry) = 0;
    virtual bool Remove(const wchar_t* name) = 0;
    virtual bool Contains(const wchar_t* name) = 0;

protected:
    ~IUninstallRootDirList() = default;
};

class CUninstallRootDirList : public IUninstallRootDirList {
public:
    CUninstallRootDirList() = default;
    virtual ~CUninstallRootDirList() = default;

    bool LoadFromResource(HMODULE module, const wchar_t* resourceName, const wchar_t* resourceType) override;
    bool Load(const wchar_t* path) override;
    int GetCount() override;
    bool GetEntry(int index, RootDirEntry* entry) override;
    bool Remove(const wchar_t* name) override;
    bool Contains(const wchar_t* name) override;

private:
    struct Entry {
        std::wstring name;
        DWORD isDirectory;
        DWORD optional;
    };

    std::map<std::wstring, Entry> entries_;
    int count_ = 0;
};
