#include "net/UninstallConfig.h"

#include "base/StringUtil.h"
#include "net/ClientInfo.h"
#include "net/JsonAccess.h"
#include "net/NetConstants.h"

#include <cstdlib>
#include <cwctype>

bool CUninstallConfig::IsQuestionnaireProduct(const std::wstring& productId)
{
    std::wstring lower = Trim(productId);
    for (wchar_t& c : lower) {
        c = static_cast<wchar_t>(towlower(c));
    }
    return lower.find(net::kQuestionnaireFamily) != std::wstring::npos;
}

void CUninstallConfig::RequestConfig()
{
    HttpRequest request;
    request.method = httpmethod::kGet;
    request.url = VersionQueryUrl(net::kConfigHost, net::kConfigPathFormat);
    IssueHttpRequest(this, slot_, request);
}

std::wstring CUninstallConfig::GetQuestionnaireUrl()
{
    _BaseModule::CAutoLocker guard(lock_);
    return questionnaireUrl_;
}

void CUninstallConfig::OnTaskEvent(IHttpTask* task, const HttpTaskEvent* event)
{
    if (!IsFinalEvent(event) || !slot_.Holds(task)) {
        return;
    }
    if (const char* body = FinishedBody(event)) {
        HandleAnswer(body);
    }
    slot_.ClearIf(task);
}

void CUninstallConfig::HandleAnswer(const char* body)
{
    const JsonDocument root = ParseJson(body);
    if (!IsSuccessAnswer(root.get())) {
        return;
    }
    const cJSON* questionnaire = GetJsonItem(GetJsonItem(root.get(), "data"), "uninstall_questionnaire");
    if (questionnaire == nullptr) {
        return;
    }
    if (std::atoi(GetJsonString(questionnaire, "status", "0").c_str()) == 0) {
        return;
    }
    const std::wstring url = FromUtf8(GetJsonString(questionnaire, "url", ""));
    _BaseModule::CAutoLocker guard(lock_);
    questionnaireUrl_ = url;
}
