// The engine's one worker thread: waits for a go signal, then runs one pass of its callback with
// COM initialised; shut down (waiting at most 10 s) when the object is destroyed.
#pragma once

#include "base/ScopedHandle.h"

#include <windows.h>

// What a worker pass runs.
class IThreadCallback {
public:
    virtual void Run(int parameter) = 0;

protected:
    ~IThreadCallback() = default;
};

// The client side of a worker thread: what runs when a registered handle is signalled.
class IWorkerThreadClient {
public:
    virtual HRESULT Execute(DWORD_PTR parameter, HANDLE signalled) = 0;
    virtual HRESULT CloseHandle(HANDLE handle) = 0;

protected:
    ~IWorkerThreadClient() = default;
};

class CXThread : public IWorkerThreadClient {
public:
    static constexpr DWORD kShutdownWaitMs = 10000;

    CXThread() = default;
    ~CXThread();
    CXThread(const CXThread&) = delete;
    CXThread& operator=(const CXThread&) = delete;

    // Starts one pass with parameter; 0 while a pass is running. The callback given on the first
    // start is the one every pass runs.
    int Start(int parameter, IThreadCallback* callback);
    bool IsRunning() const { return running_ != 0; }

    HRESULT Execute(DWORD_PTR parameter, HANDLE signalled) override;
    HRESULT CloseHandle(HANDLE) override { return 0; }

private:
    bool EnsureThread();
    static unsigned __stdcall ThreadMain(void* self);

    volatile LONG running_ = 0;
    volatile LONG parameter_ = 0;
    UniqueHandle goEvent_;
    UniqueHandle shutdownEvent_;
    UniqueHandle thread_;
    IThreadCallback* callback_ = nullptr;
};
