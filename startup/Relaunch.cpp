#include "startup/Relaunch.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/StringUtil.h"
#include "base/TempName.h"
#include "config/InstallLocation.h"
#include "config/ProductConstants.h"
#include "config/ProductInfo.h"
#include "engine/RunProgram.h"
#include "net/Statistic.h"
#include "startup/CallerCheck.h"
#include "startup/CommandParser.h"
#include "startup/SmartLogger.h"
#include "startup/WorkDirectory.h"
#include "sysinfo/NtVersion.h"

#include <windows.h>

#include <optional>

namespace {

constexpr DWORD kTempDirChars = 1024;

// R1/R2: the registered installation directory, or the own directory when the registration is
// missing but the main executable sits there (the registration is then written again).
std::optional<std::wstring> ResolveInstallDir()
{
    const std::wstring mainExe = GetMainExeName();
    std::optional<std::wstring> dir = ReadInstallDirValue();
    if (!dir) {
        const std::wstring ownDir = GetModuleDirectory();
        if (!FileExists(PathJoin(ownDir, mainExe))) {
            return std::nullopt;
        }
        RegDeleteValueOf(HKEY_LOCAL_MACHINE, product::kAppPathsKey, product::kInstallDirValue, KEY_WOW64_32KEY);
        RegWriteStringNoTerminator(HKEY_LOCAL_MACHINE, product::kAppPathsKey, product::kInstallDirValue, ownDir,
                                   KEY_WOW64_32KEY);
        dir = ownDir;
    }
    if (!FileExists(PathJoin(*dir, mainExe))) {
        return std::nullopt;
    }
    return dir;
}

bool CopyInto(const std::wstring& from, const std::wstring& to)
{
    return CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

// R5 to R8: the uninstaller (or its legacy name), the identity file and the two libraries.
bool CopyProductFiles(const std::wstring& installDir, const std::wstring& workDir)
{
    std::wstring uninstaller = PathJoin(installDir, product::kUninstallerName);
    if (!FileExists(uninstaller)) {
        uninstaller = PathJoin(installDir, product::kLegacyUninstallerName);
    }
    if (!CopyInto(uninstaller, PathJoin(workDir, product::kUninstallerName))) {
        return false;
    }
    const std::wstring identity = PathJoin(installDir, product::kIdentityFile);
    if (FileExists(identity) && !CopyInto(identity, PathJoin(workDir, product::kIdentityFile))) {
        return false;
    }
    CopyInto(PathJoin(installDir, product::kHttpLibrary), PathJoin(workDir, product::kWorkHttpLibrary));
    return CopyInto(PathJoin(installDir, product::kArchiveLibrary), PathJoin(workDir, product::kWorkArchiveLibrary));
}

// R9 to R11: the only report of start-up that waits for the network.
void ReportLaunchOrigin()
{
    const std::wstring parentPath = GetParentProcessPath();
    Log(L"parent process path= %s", parentPath.c_str());
    NtVersion version;
    const std::wstring versionText =
        GetNtVersionNumbers(version) ? FormatString(L"%d.%d", static_cast<int>(version.major),
                                                    static_cast<int>(version.minor))
                                     : std::wstring();
    const std::wstring extra =
        FormatString(L"&ex1=%s&ex2=%s", ParentNameFromPath(parentPath).c_str(), versionText.c_str());
    CStatistic::Instance()->Report(L"uninstall_from", extra.c_str(), true);
}

// R12: the optional system-core library under "Utils"; a failure is ignored.
void CopySysCore(const std::wstring& installDir, const std::wstring& workDir)
{
    const std::wstring utils = PathJoin(workDir, product::kWorkUtilsDir);
    CreateDirectoryTree(utils);
    CopyInto(PathJoin(installDir, product::kSysCoreLibrary), PathJoin(workDir, product::kSysCoreLibrary));
}

}  // namespace

std::wstring ParentNameFromPath(const std::wstring& path)
{
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) {
        return std::wstring();
    }
    const std::wstring name = path.substr(slash + 1);
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : name.substr(0, dot);
}

std::wstring BuildCopyCommandLine(const std::wstring& tail, bool silent, const std::wstring& token)
{
    std::wstring line = tail + L"  " + switches::kReadyUninstall;
    if (silent) {
        line += std::wstring(L"  ") + switches::kCallToken + L"=" + token;
    }
    return line;
}

int PrepareAndRelaunch(const wchar_t* tail)
{
    const std::optional<std::wstring> installDir = ResolveInstallDir();
    if (!installDir) {
        return 0;
    }
    const std::wstring workDir = ChooseFreshTempPath(GetTempDirectory(kTempDirChars));
    if (!CreateSecuredWorkDirectory(workDir) || !CopyProductFiles(*installDir, workDir)) {
        return 0;
    }
    ReportLaunchOrigin();
    CopySysCore(*installDir, workDir);

    const bool silent = CCommandParser::Instance()->IsSilent();
    const std::wstring commandLine =
        BuildCopyCommandLine(tail != nullptr ? tail : L"", silent, silent ? MakeCallToken() : std::wstring());
    const std::wstring copy = PathJoin(workDir, product::kUninstallerName);
    return RunProgram(copy.c_str(), commandLine.c_str(), SW_SHOWNORMAL, true, false, nullptr, 0) ? 1 : 0;
}
