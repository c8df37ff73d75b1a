#include "engine/InstallDirRemoval.h"

#include "base/PathUtil.h"
#include "startup/SmartLogger.h"
#include "trust/SignatureCheck.h"

#include <windows.h>

#include <cwctype>

namespace {

std::wstring ToLower(const std::wstring& text)
{
    std::wstring lower = text;
    for (wchar_t& c : lower) {
        c = static_cast<wchar_t>(towlower(c));
    }
    return lower;
}

bool IsRealDirectory(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsReparsePoint(attributes);
}

}  // namespace

bool IsProductEntry(const std::wstring& installDir, const std::wstring& name, IUninstallRootDirList& rootList)
{
    if (rootList.Contains(ToLower(name).c_str()) || VerifyMakerSignature(PathJoin(installDir, name).c_str())) {
        return true;
    }
    Log(L"File NOT exists in xml: %s", name.c_str());
    return false;
}

bool CountListedFiles(const std::wstring& dir, int& total, const std::wstring& installDir,
                      IUninstallRootDirList& rootList)
{
    if (!IsAcceptedTreePath(dir)) {
        return false;
    }
    const bool topLevel = dir == installDir;
    ForEachDirectoryEntry(dir, [&](const std::wstring& name, DWORD attributes) {
        if (topLevel && !IsProductEntry(installDir, name, rootList)) {
            return;
        }
        if (IsRealDirectory(attributes)) {
            CountListedFiles(PathJoin(dir, name), total, installDir, rootList);
        } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            ++total;
        }
    });
    return true;
}

void DeleteInstallDir(const std::wstring& installDir, ISetupConfig& config, LeftoverList& leftovers, int& filesTotal,
                      const FileProgress& progress)
{
    if (!IsAcceptedTreePath(installDir)) {
        return;
    }
    IUninstallRootDirList& rootList = *config.GetRootDirList();
    CountListedFiles(installDir, filesTotal, installDir, rootList);

    ForEachDirectoryEntry(installDir, [&](const std::wstring& name, DWORD attributes) {
        if (!IsProductEntry(installDir, name, rootList)) {
            return;
        }
        const std::wstring path = PathJoin(installDir, name);
        if (IsRealDirectory(attributes)) {
            DeleteTreeTracked(path, leftovers, progress);
            return;
        }
        if (DeleteEntryOrQueue(path, attributes, leftovers) && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            Log(L"Delete File: %s", path.c_str());
            if (progress) {
                progress();
            }
        }
    });
    const bool removed = RemoveDirectoryW(installDir.c_str()) != FALSE;
    Log(L"remove directory %s %s", installDir.c_str(), removed ? L"suceess" : L"failed.");
}
