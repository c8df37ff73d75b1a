#include "startup/Startup.h"

#include "base/PathUtil.h"
#include "base/StringUtil.h"
#include "config/InstallLocation.h"
#include "config/ProtectedFolders.h"
#include "config/ProductConstants.h"
#include "engine/DeleteTree.h"
#include "engine/UninstallTask.h"
#include "net/HttpModule.h"
#include "net/Statistic.h"
#include "net/UninstallFeedbackConfig.h"
#include "startup/CallerCheck.h"
#include "startup/CommandParser.h"
#include "startup/InstanceMutex.h"
#include "startup/ReRegistration.h"
#include "startup/Relaunch.h"
#include "startup/SmartLogger.h"
#include "startup/WorkDirectory.h"
#include "ui/framework/MessageBox.h"
#include "ui/framework/ResInitializer.h"
#include "ui/framework/UIFont.h"
#include "ui/screens/MainLoop.h"

#include <commctrl.h>
#include <gdiplus.h>
#include <shellapi.h>

#include <clocale>
#include <optional>

#ifndef UNINST_DOWNLOAD_HOST
#error "UNINST_DOWNLOAD_HOST must be defined by the build"
#endif

namespace {

constexpr int kConfigResourceId = 209;
constexpr wchar_t kConfigResourceType[] = L"SETUPCONFIG";
constexpr wchar_t kProjectFileName[] = L"papyr.vtmprj";
constexpr wchar_t kInitFailKey[] = L"{720260B5-154E-483f-A485-0B46C3D6C50D}";
constexpr DWORD kFailureSleepMs = 3000;
constexpr wchar_t kInstallerDownloadPath[] = L"/kelvo/zuduvavoduzadi_home.exe";

constexpr wchar_t kAlreadyRunningText[] = L"安装或卸载程序已经在运行,点击“确定”退出";
constexpr wchar_t kCorruptedText[] = L"卸载程序已被破坏，请重新下载安装后再进行卸载";

const wchar_t* PreInitCheckText(int code)
{
    switch (code) {
    case 1:
        return L"Base.dll文件初始化失败";
    case 2:
        return kCorruptedText;
    case 3:
        return L"7z.dll文件破坏，请重新下载安装后进行卸载";
    default:
        return L"";
    }
}

// Sets the product code and, when the installation is registered and present, the main executable.
void SetUpStatisticsIdentity()
{
    CStatistic& statistic = *CStatistic::Instance();
    statistic.SetProductCode(product::kProductCode);
    if (const std::optional<std::wstring> dir = ReadExistingInstallDir()) {
        statistic.SetMainExePath(PathJoin(*dir, product::kDefaultMainExe));
    }
}

// Offers the download of the product installer when the uninstaller cannot work.
void RunCorruptionPrompt()
{
    if (CMessageBox::Show(kCorruptedText, msgbox::kYesNo) != IDYES) {
        return;
    }
    const std::wstring address = std::wstring(L"http://") + UNINST_DOWNLOAD_HOST + kInstallerDownloadPath;
    ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ReportInitFailure(const std::wstring& extra)
{
    CStatistic::Instance()->Report(L"unist_init_fail", extra.c_str(), false);
    Sleep(kFailureSleepMs);
}

// The registered installation directory, unless it is missing or a folder no product owns.
std::optional<std::wstring> UsableInstallDir()
{
    std::optional<std::wstring> dir = ReadExistingInstallDir();
    if (dir && IsProtectedFolder(*dir)) {
        Log(L"install dir %s is a system folder, refused", dir->c_str());
        return std::nullopt;
    }
    return dir;
}

// Step 19: drops the options request and removes the work directory (the running file at restart).
// Only a work directory that a first launch made is removed: a copy started by hand from anywhere
// else, the installation directory above all, leaves its directory alone.
void RunClosingSteps()
{
    UninstallFeedbackConfig::Instance()->TeardownOptions();
    const std::wstring dir = GetModuleDirectory();
    if (!IsFirstLaunchWorkDir(dir)) {
        Log(L"%s is not a work directory of a first launch, not removed", dir.c_str());
        return;
    }
    DeleteTreeForce(dir);
}

// Steps 10 to 18 of the copy; true when the closing steps are due.
bool RunCopy(HINSTANCE instance)
{
    const std::optional<std::wstring> installDir = UsableInstallDir();
    if (!installDir) {
        CMessageBox::Show(kCorruptedText, msgbox::kOk);
        return false;
    }
    UninstallTask().SetInstallDir(installDir->c_str());
    CStatistic::Instance()->SetMainExePath(PathJoin(*installDir, product::kDefaultMainExe));
    SetCurrentDirectoryW(GetModuleDirectory().c_str());

    const CCommandParser& parser = *CCommandParser::Instance();
    if (parser.HasSwitch(switches::kReRegister)) {
        RunReRegistration();
        return true;
    }

    LoadHttpModule();
    UninstallFeedbackConfig::Instance()->StartOptionsFetch({1, 2, 3, 4});
    SetUpStatisticsIdentity();
    CStatistic::Instance()->Report(L"uninstall_1", nullptr, false);

    const int code = UninstallTask().PreInitCheck();
    if (code != 0) {
        Log(L"pre init check failed, ret = %d", code);
        CMessageBox::Show(PreInitCheckText(code), msgbox::kOk);
        ReportInitFailure(FormatString(L"&%s=PreInitCheck:%d", kInitFailKey, code));
        return false;
    }
    if (!UninstallTask().InitConfig(instance, kConfigResourceId, kConfigResourceType, kProjectFileName)) {
        Log(L"init config failed, exit");
        RunCorruptionPrompt();
        ReportInitFailure(FormatString(L"&%s=InitConfigFaile", kInitFailKey));
        return false;
    }
    RunMainLoop();
    return true;
}

void TearDown(ULONG_PTR gdiplusToken)
{
    InstanceMutex().ReleaseAll();
    ResInitializer::Instance().Uninitialize();
    CoUninitialize();
    Gdiplus::GdiplusShutdown(gdiplusToken);
}

}  // namespace

int RunUninstaller(HINSTANCE instance, const wchar_t* tail)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    _wsetlocale(LC_ALL, L"chs");

    Logger().SetPath(PathJoin(GetTempDirectory(MAX_PATH), product::kLogFileName));
    CCommandParser& parser = *CCommandParser::Instance();
    parser.Parse(tail);

    if (!CheckLegalCall()) {
        Log(L"illegal call");
        return 0;
    }

    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
    CUIFont::Instance()->Select();
    ResInitializer::Instance().Initialize();
    CMessageBox::SetSilent(parser.IsSilent());

    if (!InstanceMutex().CheckSingleInstance()) {
        Log(L"CheckSingleInstance failed, exit");
        CMessageBox::Show(kAlreadyRunningText, msgbox::kOk);
    } else if (!parser.HasSwitch(switches::kReadyUninstall)) {
        SetUpStatisticsIdentity();
        if (PrepareAndRelaunch(tail) == 0) {
            RunCorruptionPrompt();
        }
    } else if (RunCopy(instance)) {
        RunClosingSteps();
    }

    TearDown(gdiplusToken);
    return 0;
}
