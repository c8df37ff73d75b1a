// The engine that removes the product: one pass of a fixed sequence of steps on its worker
// thread, with progress and completion reported to the progress window on the UI thread.
#pragma once

#include "base/Locker.h"
#include "engine/FileDelete.h"
#include "engine/UninstallCallback.h"
#include "engine/XThread.h"

#include <string>
#include <vector>

class CUninstaller : public IThreadCallback {
public:
    CUninstaller() = default;
    virtual ~CUninstaller() = default;

    // Stores the callback (replacing an earlier one) and starts a pass unless one is running.
    void StartUninstall(IUninstallCallback* callback);
    void SetInstallDir(const wchar_t* dir);
    // Copies the directory only when it is set and shorter than the capacity.
    void GetInstallDir(wchar_t* buffer, int capacity) const;
    void SetRemoveAppData(int remove) { removeAppData_ = remove; }
    // After this returns no notification is running or will start.
    void DetachCallback();

    void SetGameCenterUninstall(int value) { gameCenterUninstall_ = value; }
    void SetGameCenterVendor(int value) { gameCenterVendor_ = value; }
    int GameCenterVendor() const { return gameCenterVendor_; }

    // The worker pass: version and pid, then the steps.
    void Run(int parameter) override;

    // Used by the steps.
    const std::wstring& InstallDir() const { return installDir_; }
    void SetFilesTotal(int total) { filesTotal_ = total; }
    // One more file of the "delete all files" step done: progress 10..98 by files done of total.
    void StepFileProgress();
    // Hands percent (99 for 100 and more) to the progress window and waits until it has run.
    void ReportProgress(int percent);

    const std::wstring& MainProgramVersion() const { return mainVersion_; }
    const std::wstring& Pid() const { return pid_; }

private:
    void RunSteps();
    void NotifyStart();
    void NotifyProgress(int percent);
    void NotifyEnd();
    void NotifyRealEnd();

    int filesDone_ = 0;
    std::wstring installDir_;
    LeftoverList leftovers_;
    IUninstallCallback* volatile callback_ = nullptr;
    CXThread worker_;
    int gameCenterUninstall_ = 0;
    int gameCenterVendor_ = 0;
    int removeAppData_ = 0;
    _BaseModule::CCriticalSection lock_;
    int filesTotal_ = 0;
    std::wstring mainVersion_;
    std::wstring pid_;
};
