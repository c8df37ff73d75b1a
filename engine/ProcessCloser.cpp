#include "engine/ProcessCloser.h"

#include "base/PathUtil.h"
#include "base/StringUtil.h"
#include "config/ProductConstants.h"
#include "engine/ProcessKiller.h"
#include "startup/SmartLogger.h"

#include <windows.h>

namespace {

// The product's control window needs time to shut its program down after the message.
constexpr DWORD kControlWindowGraceMs = 2000;
constexpr size_t kMinDirChars = 4;

void CloseConfiguredWindows(ISetupConfig& config)
{
    const int count = config.GetCloseProgramCount();
    for (int index = 0; index < count; ++index) {
        CloseProgramRecord record = {};
        if (!config.GetCloseProgram(index, &record)) {
            continue;
        }
        HWND window = FindWindowW(record.windowClass, nullptr);
        if (window == nullptr) {
            continue;
        }
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, record.message, record.wParam, record.lParam, SMTO_NORMAL, record.timeout,
                            &result);
        if (EqualsNoCase(record.windowClass, product::kControlWindowClass)) {
            Sleep(kControlWindowGraceMs);
        }
        Log(L"Send msg to %s wnd", record.windowClass);
    }
}

}  // namespace

void KillProcessesInInstallPath(ISetupConfig& config, const std::wstring& installDir)
{
    const UINT quit = RegisterWindowMessageW(product::kQuitMessageName);
    if (quit != 0) {
        SendNotifyMessageW(HWND_BROADCAST, quit, 0, 0);
    }
    CloseConfiguredWindows(config);
    Log(L"enter KillProcessesInInstallPath szTargetDir=%s", installDir.c_str());
    if (installDir.size() <= kMinDirChars) {
        return;
    }
    KillMultiProcesses(installDir.c_str(), nullptr);
    KillProcessByPath(PathJoin(installDir, product::kServiceProgram).c_str());
    KillProcessByPath(PathJoin(installDir, product::kDefaultMainExe).c_str());
    Log(L"end KillProcessesInInstallPath");
}
