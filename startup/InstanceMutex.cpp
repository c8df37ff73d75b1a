#include "startup/InstanceMutex.h"

#include "base/ScopedHandle.h"
#include "startup/InstanceNames.h"

namespace {

CInstanceMutex g_instanceMutex;

// Asks the running installer or uninstaller, if its main window exists, to come forward.
void NotifyRunningInstance()
{
    HWND window = FindWindowW(instance::kMainWindowClass, nullptr);
    if (window != nullptr) {
        PostMessageW(window, instance::kActivateMessage, 0, 0);
    }
}

}  // namespace

CInstanceMutex::~CInstanceMutex() { ReleaseAll(); }

// A mutex that cannot be created never blocks the uninstall.
BOOL CInstanceMutex::CheckSingleInstance()
{
    UniqueHandle mutex(CreateMutexW(nullptr, TRUE, instance::kMutexName));
    const DWORD error = GetLastError();
    if (!mutex) {
        return TRUE;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        mutex.Reset();
        NotifyRunningInstance();
        return FALSE;
    }
    _BaseModule::CAutoLocker guard(lock_);
    handles_.push_back(mutex.Release());
    return TRUE;
}

BOOL CInstanceMutex::ReleaseAll()
{
    std::vector<HANDLE> held;
    {
        _BaseModule::CAutoLocker guard(lock_);
        held.swap(handles_);
    }
    for (HANDLE handle : held) {
        if (handle != nullptr) {
            CloseHandle(handle);
        }
    }
    return TRUE;
}

CInstanceMutex& InstanceMutex() { return g_instanceMutex; }
