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
    if (module_ == nullptr) {
        LoadEntries(path);
    }
    initialised_ = uninit_ != nullptr && init_ != nullptr && factory_ != nullptr ? 1 : 0;
    return initialised_;
}

void CUpLoadMgr::LoadEntries(const wchar_t* path)
{
    module_ = LoadLibraryW(path);
    if (module_ == nullptr) {
        return;
    }
    init_ = reinterpret_cast<HttpInitProc>(GetProcAddress(module_, "HttpInit"));
    uninit_ = reinterpret_cast<HttpUninitProc>(GetProcAddress(module_, "HttpUninit"));
    uncompress_ = GetProcAddress(module_, "zlib_uncompress");
    compress_ = GetProcAddress(module_, "zlib_compress");
    compressBound_ = GetProcAddress(module_, "zlib_compressBound");
    if (init_ != nullptr) {
        factory_ = init_();
    }
}

void CUpLoadMgr::Uninit()
{
    _BaseModule::CAutoLocker guard(*lock_);
    if (uninit_ != nullptr && factory_ != nullptr) {
        uninit_(factory_);
    }
    factory_ = nullptr;
    if (module_ != nullptr) {
        init_ = nullptr;
        uninit_ = nullptr;
        uncompress_ = nullptr;
        compress_ = nullptr;
        compressBound_ = nullptr;
        FreeLibrary(module_);
        module_ = nullptr;
    }
    initialised_ = 0;
}

// No request is sent through this manager, so no event is expected.
void CUpLoadMgr::OnTaskEvent(IHttpTask*, const HttpTaskEvent*) {}

CUpLoadMgr& UpLoadMgr()
{
    static CUpLoadMgr manager;
    return manager;
}
