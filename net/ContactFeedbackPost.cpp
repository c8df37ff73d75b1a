#include "net/ContactFeedbackPost.h"

#include "base/StringUtil.h"
#include "net/ClientInfo.h"
#include "net/JsonAccess.h"
#include "net/NetConstants.h"

#include <utility>

namespace {

std::string ToThreadAnsi(const std::wstring& text)
{
    if (text.empty()) {
        return std::string();
    }
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, &out[0], bytes, nullptr, nullptr);
    return out;
}

}  // namespace

CContactFeedbackPost::CContactFeedbackPost(HWND notifyWindow, UINT notifyMessage, RefusalHandler onRefused)
    : notifyWindow_(notifyWindow), notifyMessage_(notifyMessage), onRefused_(std::move(onRefused))
{
}

void CContactFeedbackPost::Send(const std::wstring& phone, const std::wstring& weixin, const std::wstring& qq,
                                const std::wstring& email)
{
    HttpRequest request;
    request.method = httpmethod::kPost;
    request.url = ServiceUrl(net::kFeedbackHost, net::kContactPath);
    request.fields = {
        HttpField::Narrow("phone", ToThreadAnsi(phone)),
        HttpField::Narrow("weixin", ToThreadAnsi(weixin)),
        HttpField::Narrow("qq", ToThreadAnsi(qq)),
        HttpField::Narrow("email", ToThreadAnsi(email)),
    };
    request.idOut = &taskId_;
    IssueHttpRequest(this, slot_, request);
}

void CContactFeedbackPost::OnTaskEvent(IHttpTask* task, const HttpTaskEvent* event)
{
    if (!IsFinalEvent(event) || !slot_.Holds(task)) {
        return;
    }
    if (const char* body = FinishedBody(event)) {
        HandleAnswer(body);
    }
    slot_.ClearIf(task);
}

void CContactFeedbackPost::HandleAnswer(const char* body)
{
    const JsonDocument root = ParseJson(body);
    if (!root) {
        return;
    }
    const int code = GetJsonInt(root.get(), "errno", 1);
    const std::wstring message = FromUtf8(GetJsonString(root.get(), "msg", ""));
    if (code == 0) {
        PostMessageW(notifyWindow_, notifyMessage_, 0, 0);
        return;
    }
    if (onRefused_) {
        onRefused_(message);
    }
}
