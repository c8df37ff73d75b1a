// Process-wide lock primitives: a lock interface, a re-entrant critical section behind it, and a scoped guard.
#pragma once

#include <windows.h>

namespace _BaseModule {

// A lock that can be taken and released; implementations are re-entrant.
class ILocker {
public:
    virtual void Lock() = 0;
    virtual void Unlock() = 0;

protected:
    ~ILocker() = default;
};

// A Windows critical section: the same thread may take it again while holding it.
class CCriticalSection : public ILocker {
public:
    CCriticalSection();
    virtual ~CCriticalSection();
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    void Lock() override;
    void Unlock() override;

private:
    CRITICAL_SECTION section_;
};

// Holds a lock for the lifetime of the guard.
class CAutoLocker {
public:
    explicit CAutoLocker(ILocker& locker) : locker_(locker) { locker_.Lock(); }
    ~CAutoLocker() { locker_.Unlock(); }
    CAutoLocker(const CAutoLocker&) = delete;
    CAutoLocker& operator=(const CAutoLocker&) = delete;

private:
    ILocker& locker_;
};

}  // namespace _BaseModule
