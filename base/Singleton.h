// Lazily created process-wide single instances that live until the process ends.
#pragma once

#include "base/Locker.h"

// Guards the creation of each singleton's own creation lock; shared by all singletons.
class static_singleton_base {
protected:
    static _BaseModule::CCriticalSection& CreationLock();
};

// Instance() creates T on first use under a two-level lock: the shared static lock guards the
// creation of T's own lock, which then guards the creation of T (tested before and after taking it).
// The instance is never destroyed before process exit.
template <class T>
class CSingletonT : protected static_singleton_base {
public:
    static T* Instance()
    {
        T* instance = instance_;
        if (instance != nullptr) {
            return instance;
        }
        _BaseModule::CAutoLocker guard(InstanceLock());
        if (instance_ == nullptr) {
            instance_ = new T();
        }
        return instance_;
    }

private:
    static _BaseModule::CCriticalSection& InstanceLock()
    {
        if (lock_ == nullptr) {
            _BaseModule::CAutoLocker guard(CreationLock());
            if (lock_ == nullptr) {
                lock_ = new _BaseModule::CCriticalSection();
            }
        }
        return *lock_;
    }

    static T* volatile instance_;
    static _BaseModule::CCriticalSection* volatile lock_;
};

template <class T>
T* volatile CSingletonT<T>::instance_ = nullptr;

template <class T>
_BaseModule::CCriticalSection* volatile CSingletonT<T>::lock_ = nullptr;
