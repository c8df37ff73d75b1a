#include "startup/ReRegistration.h"

#include "config/InstallLocation.h"
#include "engine/Autorun.h"
#include "engine/Shortcuts.h"

void RunReRegistration()
{
    const std::wstring installDir = ReadInstallDirValue().value_or(L"");
    RestoreShortcuts(installDir);
    RestoreAutorun(installDir);
}
