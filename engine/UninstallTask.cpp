#include "engine/UninstallTask.h"

#include "base/PathUtil.h"
#include "config/ProductConstants.h"
#include "config/ResourceUnpack.h"
#include "startup/SmartLogger.h"
#include "trust/SignatureCheck.h"

namespace {

CUninstallTask g_uninstallTask;

}  // namespace

int CUninstallTask::PreInitCheck()
{
    if (!VerifyMakerSignature(GetModulePath().c_str())) {
        return 2;
    }
    return Load7z(PathJoin(GetModuleDirectory(), product::kWorkArchiveLibrary)) ? 0 : 3;
}

bool CUninstallTask::InitConfig(HINSTANCE instance, int resourceId, const wchar_t* resourceType,
                                const wchar_t* projectFile)
{
    return setupConfig_.InitConfig(instance, resourceId, resourceType, projectFile);
}

int CUninstallTask::WriteLog(const wchar_t* text)
{
    Log(L"%s", text != nullptr ? text : L"");
    return 0;
}

void CUninstallTask::SetInstallDir(const wchar_t* dir) { installDir_ = dir != nullptr ? dir : L""; }

CUninstallTask& UninstallTask() { return g_uninstallTask; }
