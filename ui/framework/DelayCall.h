// Delayed and repeated calls on window-less timers of the thread that starts them.
#pragma once

#include "base/Singleton.h"

#include <windows.h>

#include <map>

class CDelayCall : public CSingletonT<CDelayCall> {
public:
    using Callback = void (*)(void* context, UINT_PTR timerId);

    virtual ~CDelayCall() = default;
    // Calls callback(context, id) after milliseconds, again and again when repeat is set; the
    // answer is the timer id, 0 when no timer could be made.
    virtual UINT_PTR Start(UINT milliseconds, Callback callback, void* context, bool repeat);
    // Ends the timer and sets *timerId to 0.
    virtual void Stop(UINT_PTR* timerId);

private:
    struct Entry {
        Callback callback;
        void* context;
        bool repeat;
    };

    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR timerId, DWORD);
    void Fire(UINT_PTR timerId);

    std::map<UINT_PTR, Entry> entries_;
};
