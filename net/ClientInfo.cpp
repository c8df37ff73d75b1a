#include "net/ClientInfo.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/StringUtil.h"
#include "config/ProductConstants.h"
#include "engine/UninstallTask.h"
#include "sysinfo/OSVersionCheck.h"

std::wstring ReadProductId()
{
    return Trim(RegReadString(HKEY_CURRENT_USER, product::kProductKey, product::kPidValue).value_or(L""));
}

std::wstring MainExeVersionText()
{
    std::wstring text;
    GetFileVersionString(PathJoin(UninstallTask().Uninstaller().InstallDir(), product::kDefaultMainExe), text);
    return text;
}

std::wstring OwnVersionText()
{
    std::wstring text;
    GetFileVersionString(GetModulePath(), text);
    return text;
}

std::wstring ServiceUrl(const wchar_t* host, const std::wstring& pathAndQuery)
{
    return std::wstring(L"http://") + host + pathAndQuery;
}

std::wstring VersionQueryUrl(const wchar_t* host, const wchar_t* pathFormat)
{
    const std::wstring appver = MainExeVersionText();
    const std::wstring modver = OwnVersionText();
    const std::wstring pid = ReadProductId();
    return ServiceUrl(host, FormatString(pathFormat, appver.c_str(), modver.c_str(), pid.c_str()));
}
