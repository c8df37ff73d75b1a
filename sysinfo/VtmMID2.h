// The process's mid2 object: a COM-style object with an empty extension interface and the
// interface that answers mid2, computed once under the object's lock.
#pragma once

#include "base/Locker.h"

#include <windows.h>

class IMachineIdSources;

// Extension operations that this object does not provide.
class IExtend {
public:
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
    virtual HRESULT STDMETHODCALLTYPE Extend1(void* argument) = 0;
    virtual HRESULT STDMETHODCALLTYPE Extend2(void* argument, void* more) = 0;
    virtual HRESULT STDMETHODCALLTYPE Extend3(void* argument) = 0;
    virtual HRESULT STDMETHODCALLTYPE Extend4(void* argument, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Extend5(void* argument) = 0;
    virtual HRESULT STDMETHODCALLTYPE Extend6(void* argument) = 0;
    virtual HRESULT STDMETHODCALLTYPE Extend7(void* argument) = 0;
    virtual HRESULT STDMETHODCALLTYPE Extend8(void* argument) = 0;
    virtual ~IExtend() = default;
};

// Every extension answers E_NOTIMPL; the third forwards to the fourth with a zero flag.
class CEmptyExtendImpl : public IExtend {
public:
    HRESULT STDMETHODCALLTYPE Extend1(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Extend2(void*, void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Extend3(void* argument) override { return Extend4(argument, 0); }
    HRESULT STDMETHODCALLTYPE Extend4(void*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Extend5(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Extend6(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Extend7(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Extend8(void*) override { return E_NOTIMPL; }
};

class INewMID {
public:
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMid2(wchar_t* buffer, int capacity) = 0;

protected:
    ~INewMID() = default;
};

// One static instance per process; not reference-counted.
class CVtmMID2 : public CEmptyExtendImpl, public INewMID {
public:
    explicit CVtmMID2(IMachineIdSources& sources);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    // Computes mid2 on the first call (E_FAIL when it comes out empty or 50 characters or longer)
    // and copies it, cut to the capacity.
    HRESULT STDMETHODCALLTYPE GetMid2(wchar_t* buffer, int capacity) override;

private:
    IMachineIdSources& sources_;
    _BaseModule::CCriticalSection lock_;
    bool known_ = false;
    wchar_t mid2_[50] = {};
};
