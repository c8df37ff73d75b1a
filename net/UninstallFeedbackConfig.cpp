#include "net/UninstallFeedbackConfig.h"

// No request is made until the HTTP tasks exist.
void UninstallFeedbackConfig::StartOptionsFetch(const std::vector<int>&) {}

void UninstallFeedbackConfig::TeardownOptions() {}
