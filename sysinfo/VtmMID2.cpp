#include "sysinfo/VtmMID2.h"

#include "sysinfo/MachineId.h"
#include "sysinfo/MachineIdSources.h"
#include "sysinfo/Mid2.h"

#include <new>

namespace {

enum CreationState : LONG { kFree = 0, kCreating = 1, kReady = 2 };

LONG volatile g_creationState = kFree;
alignas(CVtmMID2) unsigned char g_storage[sizeof(CVtmMID2)];

// The process's object, created by the first caller while later ones wait for it.
CVtmMID2& Mid2Object()
{
    if (InterlockedCompareExchange(&g_creationState, kCreating, kFree) == kFree) {
        new (g_storage) CVtmMID2(HardwareSources());
        InterlockedExchange(&g_creationState, kReady);
    }
    while (InterlockedCompareExchange(&g_creationState, kReady, kReady) != kReady) {
        Sleep(1);
    }
    return *reinterpret_cast<CVtmMID2*>(g_storage);
}

}  // namespace

CVtmMID2::CVtmMID2(IMachineIdSources& sources) : sources_(sources) {}

HRESULT CVtmMID2::QueryInterface(REFIID, void** object)
{
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

HRESULT CVtmMID2::GetMid2(wchar_t* buffer, int capacity)
{
    if (buffer == nullptr || capacity <= 0) {
        return E_FAIL;
    }
    _BaseModule::CAutoLocker guard(lock_);
    if (!known_) {
        const std::wstring value = ComputeMid2(sources_);
        if (value.empty() || value.size() >= sizeof(mid2_) / sizeof(mid2_[0])) {
            return E_FAIL;
        }
        lstrcpynW(mid2_, value.c_str(), sizeof(mid2_) / sizeof(mid2_[0]));
        known_ = true;
    }
    lstrcpynW(buffer, mid2_, capacity);
    return S_OK;
}

HRESULT GetMid2(wchar_t* buffer, int capacity)
{
    if (buffer == nullptr || capacity < kMid2MinCapacity) {
        return E_INVALIDARG;
    }
    return Mid2Object().GetMid2(buffer, capacity);
}
