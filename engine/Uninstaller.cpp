#include "engine/Uninstaller.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/StringUtil.h"
#include "config/ProductConstants.h"
#include "engine/DeleteTree.h"
#include "engine/InstallDirRemoval.h"
#include "engine/Leftovers.h"
#include "engine/MemberBind.h"
#include "engine/ProcessCloser.h"
#include "engine/ProcessKiller.h"
#include "engine/TaskSteps.h"
#include "engine/UninstallHooks.h"
#include "engine/UninstallTask.h"
#include "startup/SmartLogger.h"
#include "sysinfo/OSVersionCheck.h"
#include "ui/framework/UIThreadWindow.h"

#include <cwchar>

namespace {

constexpr int kFirstFileProgress = 10;
constexpr float kFileProgressSpan = 88.0f;
constexpr int kHighestDelivered = 99;

// The uninstall-info hook: nothing is reported anywhere; it answers success.
unsigned long ReportUninstallInfo(const wchar_t*, const std::wstring&, const std::wstring&) { return 1; }

}  // namespace

void CUninstaller::StartUninstall(IUninstallCallback* callback)
{
    callback_ = callback;
    worker_.Start(0, this);
    Log(L"start uninstall thread...");
}

void CUninstaller::SetInstallDir(const wchar_t* dir) { installDir_ = dir != nullptr ? dir : L""; }

void CUninstaller::GetInstallDir(wchar_t* buffer, int capacity) const
{
    if (installDir_.empty() || buffer == nullptr || static_cast<int>(installDir_.size()) >= capacity) {
        return;
    }
    wcscpy(buffer, installDir_.c_str());
}

void CUninstaller::DetachCallback()
{
    _BaseModule::CAutoLocker guard(lock_);
    callback_ = nullptr;
}

void CUninstaller::Run(int)
{
    wchar_t version[64] = {};
    GetFixedFileVersion(PathJoin(installDir_, product::kDefaultMainExe).c_str(), version, 64);
    mainVersion_ = version;
    pid_ = Trim(RegReadString(HKEY_CURRENT_USER, product::kProductKey, product::kPidValue).value_or(L""));
    RunSteps();
}

void CUninstaller::StepFileProgress()
{
    if (filesTotal_ <= 0) {
        return;
    }
    filesDone_ = filesDone_ + 1 >= filesTotal_ ? filesTotal_ : filesDone_ + 1;
    const float share = static_cast<float>(filesDone_) / static_cast<float>(filesTotal_);
    ReportProgress(static_cast<int>(share * kFileProgressSpan + static_cast<float>(kFirstFileProgress)));
}

void CUninstaller::ReportProgress(int percent)
{
    wchar_t line[32];
    swprintf(line, 32, L"nProgress=%d\n", percent);
    OutputDebugStringW(line);
    mf_bind_t_1<CUninstaller> call(this, &CUninstaller::NotifyProgress, percent < 100 ? percent : kHighestDelivered);
    RunOnUIThread(&call);
}

void CUninstaller::NotifyStart()
{
    if (IUninstallCallback* callback = callback_) {
        callback->OnUninstallStart();
    }
}

void CUninstaller::NotifyProgress(int percent)
{
    if (IUninstallCallback* callback = callback_) {
        callback->OnProgress(percent);
    }
}

void CUninstaller::NotifyEnd()
{
    if (IUninstallCallback* callback = callback_) {
        callback->OnUninstallEnd();
    }
}

void CUninstaller::NotifyRealEnd()
{
    _BaseModule::CAutoLocker guard(lock_);
    if (callback_ != nullptr) {
        callback_->OnRealInstallEnd();
    }
}

void CUninstaller::RunSteps()
{
    CSetupConfig& config = UninstallTask().SetupConfig();
    const std::wstring& dir = installDir_;
    mf_bind_t<CUninstaller> start(this, &CUninstaller::NotifyStart);
    RunOnUIThread(&start);
    ReportProgress(1);
    Log(L"start call program");
    RunUninstallProgramEntries(config, dir);
    RunRundllEntries(config, dir);
    RunRunListHooks(dir);
    RunFilePeHooks(dir);
    ReportProgress(4);
    Log(L"start close all processes");
    KillProcessesInInstallPath(config, dir);
    ReportProgress(5);
    RunHardwixHook(dir);
    Log(L"remove desktop shortcuts");
    ReportProgress(6);
    Log(L"remove start menu shortcuts");
    RemoveBrowserCache();
    ::RemoveAppData(removeAppData_ != 0);
    ReportProgress(7);
    RemoveFilesByRegistry(dir, leftovers_);
    RemoveProductRegistry(config);
    ReportProgress(8);
    Log(L"remove autorun");
    ReportProgress(9);
    Log(L"Delete uninstall registry");
    RunHomepageGuard(dir);
    Log(L"start delete all files in %s", dir.c_str());
    DeleteInstallDir(dir, config, leftovers_, filesTotal_, [this] { StepFileProgress(); });
    Log(L"end delete all files in %s", dir.c_str());
    RemoveLegacyUninstaller();
    Log(L"start uninstall VaruzorurodiTM.");
    ReportProgress(97);
    PurgeExtension(dir, L".tmp");
    ReportProgress(98);
    Log(L"start create runonce bat");
    ScheduleLeftovers(leftovers_, dir);
    KillAssistProcesses(dir);
    ReportProgress(100);
    mf_bind_t<CUninstaller> end(this, &CUninstaller::NotifyEnd);
    RunOnUIThread(&end);
    Log(L"re unistinfo ret=%lu", ReportUninstallInfo(L"set", mainVersion_, pid_));
    NotifyRealEnd();
}
