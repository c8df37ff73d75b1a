// The remote uninstall options, requested at start and read by the screens.
#pragma once

#include "base/Singleton.h"

#include <vector>

class UninstallFeedbackConfig : public CSingletonT<UninstallFeedbackConfig> {
public:
    UninstallFeedbackConfig() = default;
    virtual ~UninstallFeedbackConfig() = default;

    // Starts the request for the given option ids without waiting for it.
    void StartOptionsFetch(const std::vector<int>& optionIds);
    // Drops a pending request and closes the wait event.
    void TeardownOptions();
};
