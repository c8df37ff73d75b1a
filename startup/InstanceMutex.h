// The single-instance rule shared with the product's installer.
#pragma once

#include "base/Locker.h"

#include <windows.h>

#include <vector>

class CInstanceMutex {
public:
    CInstanceMutex() = default;
    virtual ~CInstanceMutex();
    CInstanceMutex(const CInstanceMutex&) = delete;
    CInstanceMutex& operator=(const CInstanceMutex&) = delete;

    // Nonzero when this process may run.
    BOOL CheckSingleInstance();
    // Closes every held mutex; nonzero.
    BOOL ReleaseAll();

private:
    std::vector<HANDLE> handles_;
    _BaseModule::CCriticalSection lock_;
};

// The process's instance guard, constructed before the entry point runs.
CInstanceMutex& InstanceMutex();
