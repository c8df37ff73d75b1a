#include "engine/UninstallTask.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/StringUtil.h"
#include "config/ProductConstants.h"
#include "config/ResourceUnpack.h"
#include "startup/SmartLogger.h"
#include "trust/SignatureCheck.h"
#include "ui/framework/UIThreadWindow.h"

namespace {

constexpr wchar_t kGameCenterKey[] = L"SOFTWARE\\VTMGameCenter";
constexpr wchar_t kPlayedValue[] = L"Played";
constexpr wchar_t kVendorIdValue[] = L"VendorID";

CUninstallTask g_uninstallTask;

std::wstring GameCenterValue(const wchar_t* name)
{
    return RegReadString(HKEY_LOCAL_MACHINE, kGameCenterKey, name).value_or(L"");
}

}  // namespace

int CUninstallTask::PreInitCheck()
{
    if (!VerifyMakerSignature(GetModulePath().c_str())) {
        return 2;
    }
    CreateUIThreadWindow();
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

bool CUninstallTask::IsGameCenterUnplayed() { return GameCenterValue(kPlayedValue).empty(); }

void CUninstallTask::SetGameCenterUninstall(int value)
{
    if (uninstaller_.GameCenterVendor() != 0) {
        uninstaller_.SetGameCenterUninstall(value);
    }
}

bool CUninstallTask::IsGameCenterVendor()
{
    const bool vendor = ToUpper(GameCenterValue(kVendorIdValue)).find(L"PAPYR") != std::wstring::npos;
    uninstaller_.SetGameCenterVendor(vendor ? 1 : 0);
    return vendor;
}

int CUninstallTask::GetInstallDir(wchar_t* buffer, int capacity)
{
    uninstaller_.GetInstallDir(buffer, capacity);
    return 0;
}

CUninstallTask& UninstallTask() { return g_uninstallTask; }
