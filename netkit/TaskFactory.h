// The library's task factory: every task it creates is independent and frees itself on Release.
#pragma once

#include "net/HttpTask.h"

class CTaskFactory final : public IHttpTaskFactory {
public:
    IHttpTask* CreateTask() override;
};
