#include "ui/framework/DelayCall.h"

namespace {

// Window-less timers get their id from the system; this one is only the requested value.
constexpr UINT_PTR kRequestedTimerId = 2468;

}  // namespace

UINT_PTR CDelayCall::Start(UINT milliseconds, Callback callback, void* context, bool repeat)
{
    const UINT_PTR id = SetTimer(nullptr, kRequestedTimerId, milliseconds, TimerProc);
    if (id != 0) {
        entries_[id] = Entry{callback, context, repeat};
    }
    return id;
}

void CDelayCall::Stop(UINT_PTR* timerId)
{
    if (timerId == nullptr) {
        return;
    }
    KillTimer(nullptr, *timerId);
    entries_.erase(*timerId);
    *timerId = 0;
}

void CALLBACK CDelayCall::TimerProc(HWND, UINT, UINT_PTR timerId, DWORD)
{
    Instance()->Fire(timerId);
}

void CDelayCall::Fire(UINT_PTR timerId)
{
    const auto found = entries_.find(timerId);
    if (found == entries_.end()) {
        return;
    }
    const Entry entry = found->second;
    entry.callback(entry.context, timerId);
    if (!entry.repeat) {
        Stop(&timerId);
    }
}
