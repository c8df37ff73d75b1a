// Starts a thread through the C run-time; the caller may close the handle at once to let it run detached.
#pragma once

#include <windows.h>

class CSimpleThread {
public:
    using Routine = unsigned(__stdcall*)(void*);

    CSimpleThread() = default;
    virtual ~CSimpleThread();
    CSimpleThread(const CSimpleThread&) = delete;
    CSimpleThread& operator=(const CSimpleThread&) = delete;

    // Starts routine(parameter) with default security and stack size; false when no thread started.
    bool Start(Routine routine, void* parameter);
    // Closes the handle without waiting: the thread runs on detached.
    void Detach();

    HANDLE Handle() const { return handle_; }
    unsigned ThreadId() const { return threadId_; }

private:
    HANDLE handle_ = nullptr;
    unsigned threadId_ = static_cast<unsigned>(-1);
    Routine routine_ = nullptr;
};
