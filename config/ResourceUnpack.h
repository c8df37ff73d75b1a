// Unpacking the configuration archive that the executable carries as a resource, through 7z.dll.
#pragma once

#include "config/ArchiveInterfaces.h"

#include <windows.h>

#include <string>

// Loads the archive library from path unless one is loaded already; true when a library is loaded.
// The library stays loaded until the process ends.
bool Load7z(const std::wstring& path);

// Extracts every item of a 7z archive below targetDir (created when missing); 0 on success, -1 on failure.
int Extract7z(const std::wstring& archivePath, const std::wstring& targetDir, archive::IProgress* listener);

// Removes a directory tree the configuration was extracted to; nothing is scheduled for a restart.
// True only when everything, the directory included, was removed.
bool RemoveExtractedTree(const std::wstring& dir);

// One unpack of the configuration resource.
class CResourceUnpack {
public:
    CResourceUnpack() = default;
    virtual ~CResourceUnpack() = default;

    // Finds and locks the resource; false when it is missing.
    bool Init(HMODULE module, int resourceId, const wchar_t* resourceType);
    // Writes the resource to a temporary file and extracts it into a fresh temporary directory.
    bool Unpack(std::wstring& directory);

private:
    const BYTE* data_ = nullptr;
    DWORD size_ = 0;
};
