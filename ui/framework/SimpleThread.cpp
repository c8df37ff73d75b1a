#include "ui/framework/SimpleThread.h"

#include <process.h>

CSimpleThread::~CSimpleThread()
{
    Detach();
    threadId_ = static_cast<unsigned>(-1);
    routine_ = nullptr;
}

bool CSimpleThread::Start(Routine routine, void* parameter)
{
    routine_ = routine;
    unsigned id = 0;
    handle_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, routine, parameter, 0, &id));
    if (handle_ == nullptr) {
        return false;
    }
    threadId_ = id;
    return true;
}

void CSimpleThread::Detach()
{
    if (handle_ != nullptr) {
        CloseHandle(handle_);
        handle_ = nullptr;
    }
}
