#include "net/UninstallFeedbackConfig.h"

#include "engine/UninstallTask.h"
#include "net/ClientInfo.h"
#include "net/JsonAccess.h"
#include "net/NetConstants.h"

#include <cstdlib>

namespace {

// Every piece between commas, and the text after the last one, as a decimal number (0 without digits).
std::vector<int> SplitOptionNumbers(const std::wstring& text)
{
    std::vector<int> numbers;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(L',', start);
        numbers.push_back(static_cast<int>(wcstol(text.substr(start, comma - start).c_str(), nullptr, 10)));
        if (comma == std::wstring::npos) {
            return numbers;
        }
        start = comma + 1;
    }
}

}  // namespace

void UninstallFeedbackConfig::StartOptionsFetch(const std::vector<int>& defaultIds)
{
    {
        _BaseModule::CAutoLocker guard(lock_);
        options_.insert(options_.end(), defaultIds.begin(), defaultIds.end());
    }
    HttpRequest request;
    request.method = httpmethod::kGet;
    request.url = VersionQueryUrl(net::kFeedbackHost, net::kOptionsPathFormat);
    request.beforeStart = [this] {
        if (!waitEvent_) {
            waitEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        }
    };
    IssueHttpRequest(this, slot_, request);
}

int UninstallFeedbackConfig::GetFeedback(std::vector<int>& options)
{
    if (waitEvent_) {
        WaitForSingleObject(waitEvent_.Get(), net::kOptionsWaitMs);
    }
    int received = 0;
    {
        _BaseModule::CAutoLocker guard(lock_);
        options = options_;
        received = received_;
    }
    UninstallTask().WriteLog(L"UninstallFeedbackConfig::GetFeedback");
    return received;
}

void UninstallFeedbackConfig::TeardownOptions()
{
    slot_.Clear();
    waitEvent_.Reset();
}

void UninstallFeedbackConfig::OnTaskEvent(IHttpTask* task, const HttpTaskEvent* event)
{
    if (!IsFinalEvent(event) || !slot_.Holds(task)) {
        return;
    }
    if (const char* body = FinishedBody(event)) {
        HandleAnswer(body);
    }
    if (waitEvent_) {
        SetEvent(waitEvent_.Get());
    }
    slot_.ClearIf(task);
}

void UninstallFeedbackConfig::HandleAnswer(const char* body)
{
    const JsonDocument root = ParseJson(body);
    if (!IsSuccessAnswer(root.get())) {
        return;
    }
    const std::wstring data = GetJsonStringW(root.get(), "data", L"", net::kUtf8CodePage);
    if (data.empty()) {
        return;
    }
    _BaseModule::CAutoLocker guard(lock_);
    options_ = SplitOptionNumbers(data);
    received_ = 1;
}
