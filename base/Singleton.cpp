#include "base/Singleton.h"

_BaseModule::CCriticalSection& static_singleton_base::CreationLock()
{
    static _BaseModule::CCriticalSection lock;
    return lock;
}
