#include "net/HttpModule.h"

#include "base/PathUtil.h"
#include "config/ProductConstants.h"
#include "trust/SignatureCheck.h"

void CHttpModule::Load(const std::wstring& path)
{
    if (module_ != nullptr || !VerifyMakerSignature(path.c_str())) {
        return;
    }
    module_ = LoadLibraryW(path.c_str());
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

CHttpModule* GetHttpModule() { return CHttpModule::Instance(); }

void LoadHttpModule() { GetHttpModule()->Load(PathJoin(GetModuleDirectory(), product::kWorkHttpLibrary)); }
