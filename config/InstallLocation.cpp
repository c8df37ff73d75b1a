#include "config/InstallLocation.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "config/ProductConstants.h"

#include <windows.h>

std::optional<std::wstring> ReadInstallDirValue()
{
    return RegReadString(HKEY_LOCAL_MACHINE, product::kAppPathsKey, product::kInstallDirValue, MAX_PATH,
                         KEY_WOW64_32KEY);
}

std::optional<std::wstring> ReadExistingInstallDir()
{
    std::optional<std::wstring> dir = ReadInstallDirValue();
    if (!dir || !DirectoryExists(*dir)) {
        return std::nullopt;
    }
    return dir;
}
