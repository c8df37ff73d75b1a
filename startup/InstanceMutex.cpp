#include "startup/InstanceMutex.h"

namespace {

CInstanceMutex g_instanceMutex;

}  // namespace

CInstanceMutex::~CInstanceMutex() { ReleaseAll(); }

// Until the shared installer mutex is taken, every process may run.
BOOL CInstanceMutex::CheckSingleInstance() { return TRUE; }

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
