#include "net/HttpModule.h"

#include "base/PathUtil.h"
#include "config/ProductConstants.h"
#include "trust/SignatureCheck.h"

void CHttpModule::Load(const std::wstring& path)
{
    if (library_.module != nullptr || !VerifyMakerSignature(path.c_str())) {
        return;
    }
    library_.Load(path.c_str());
}

CHttpModule* GetHttpModule() { return CHttpModule::Instance(); }

void LoadHttpModule() { GetHttpModule()->Load(PathJoin(GetModuleDirectory(), product::kWorkHttpLibrary)); }
