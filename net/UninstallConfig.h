// The questionnaire configuration: whether the end page offers a web questionnaire, and its address.
#pragma once

#include "base/Locker.h"
#include "base/Singleton.h"
#include "net/HttpTaskSlot.h"

#include <string>

class CUninstallConfig : public IHttpTaskCallback, public CSingletonT<CUninstallConfig> {
public:
    CUninstallConfig() = default;
    virtual ~CUninstallConfig() { slot_.Clear(); }

    // True for the product ids that get the questionnaire configuration ("ridizir" in any case, anywhere).
    static bool IsQuestionnaireProduct(const std::wstring& productId);
    // Requests the configuration without waiting for it.
    void RequestConfig();
    // The questionnaire address; empty unless the server enabled the questionnaire.
    std::wstring GetQuestionnaireUrl();

    void OnTaskEvent(IHttpTask* task, const HttpTaskEvent* event) override;

private:
    void HandleAnswer(const char* body);

    CHttpTaskSlot slot_;
    _BaseModule::CCriticalSection lock_;
    std::wstring questionnaireUrl_;
};
