#include "engine/XThread.h"

#include <objbase.h>
#include <process.h>

CXThread::~CXThread()
{
    if (!thread_) {
        return;
    }
    SetEvent(shutdownEvent_.Get());
    WaitForSingleObject(thread_.Get(), kShutdownWaitMs);
}

int CXThread::Start(int parameter, IThreadCallback* callback)
{
    if (InterlockedCompareExchange(&running_, 1, 0) != 0) {
        return 0;
    }
    if (!thread_) {
        callback_ = callback;
        if (!EnsureThread()) {
            InterlockedExchange(&running_, 0);
            return 0;
        }
    }
    InterlockedExchange(&parameter_, parameter);
    SetEvent(goEvent_.Get());
    return 1;
}

bool CXThread::EnsureThread()
{
    goEvent_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    shutdownEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!goEvent_ || !shutdownEvent_) {
        return false;
    }
    thread_.Reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadMain, this, 0, nullptr)));
    return thread_.IsValid();
}

unsigned __stdcall CXThread::ThreadMain(void* self)
{
    auto* worker = static_cast<CXThread*>(self);
    const HANDLE handles[] = {worker->shutdownEvent_.Get(), worker->goEvent_.Get()};
    while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        worker->Execute(static_cast<DWORD_PTR>(worker->parameter_), handles[1]);
    }
    return 0;
}

HRESULT CXThread::Execute(DWORD_PTR parameter, HANDLE)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    InterlockedExchange(&running_, 1);
    if (callback_ != nullptr) {
        callback_->Run(static_cast<int>(parameter));
    }
    InterlockedExchange(&running_, 0);
    CoUninitialize();
    return S_OK;
}
