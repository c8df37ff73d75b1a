#include "net/UpLoadMgr.h"

#include "trust/SignatureCheck.h"

#include <shlwapi.h>

CUpLoadMgr::CUpLoadMgr() : lock_(std::make_unique<_BaseModule::CCriticalSection>()) {}

CUpLoadMgr::~CUpLoadMgr() { Uninit(); }

int CUpLoadMgr::Init(const wchar_t* path)
{
    _BaseModule::CAutoLocker guard(*lock_);
    if (initialised_ != 0) {
        return 1;
    }
    if (path == nullptr || !PathFileExistsW(path) || !VerifyMakerSignature(path)) {
        return 0;
    }
    if (library_.module == nullptr) {
        library_.Load(path);
    }
    initialised_ = library_.uninit != nullptr && library_.init != nullptr && library_.factory != nullptr ? 1 : 0;
    return initialised_;
}

void CUpLoadMgr::Uninit()
{
    _BaseModule::CAutoLocker guard(*lock_);
    library_.Unload();
    initialised_ = 0;
}

// No request is sent through this manager, so no event is expected.
void CUpLoadMgr::OnTaskEvent(IHttpTask*, const HttpTaskEvent*) {}

CUpLoadMgr& UpLoadMgr()
{
    static CUpLoadMgr manager;
    return manager;
}
