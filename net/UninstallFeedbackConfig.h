// The remote uninstall options: the list of problem option numbers, requested at start and awaited for
// a bounded time when the main window is built.
#pragma once

#include "base/Locker.h"
#include "base/ScopedHandle.h"
#include "base/Singleton.h"
#include "net/HttpTaskSlot.h"

#include <vector>

class UninstallFeedbackConfig : public IHttpTaskCallback, public CSingletonT<UninstallFeedbackConfig> {
public:
    UninstallFeedbackConfig() = default;
    virtual ~UninstallFeedbackConfig() = default;

    // Appends the default option ids (start-up gives 1, 2, 3, 4) and requests the server's list without
    // waiting for it.
    void StartOptionsFetch(const std::vector<int>& defaultIds);
    // Waits at most 2000 ms for the answer, copies the list into options and answers the received flag.
    int GetFeedback(std::vector<int>& options);
    // Drops a pending request and closes the wait event.
    void TeardownOptions();

    void OnTaskEvent(IHttpTask* task, const HttpTaskEvent* event) override;

private:
    void HandleAnswer(const char* body);

    CHttpTaskSlot slot_;
    _BaseModule::CCriticalSection lock_;
    std::vector<int> options_;
    int received_ = 0;
    UniqueHandle waitEvent_;
};
