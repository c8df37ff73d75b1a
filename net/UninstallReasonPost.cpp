#include "net/UninstallReasonPost.h"

#include "base/StringUtil.h"
#include "net/ClientInfo.h"
#include "net/NetConstants.h"
#include "net/Statistic.h"

namespace {

constexpr int kMachineIdChars = 260;

}  // namespace

std::wstring CUninstallReasonPost::BuildReason(const TickedBoxes& ticked)
{
    std::wstring reason;
    for (size_t i = 0; i < ticked.size(); ++i) {
        if (!ticked[i]) {
            continue;
        }
        if (!reason.empty()) {
            reason += L'|';
        }
        reason += std::to_wstring(net::kFirstReasonNumber + static_cast<int>(i));
    }
    return reason;
}

std::string CUninstallReasonPost::BuildSuggest(const std::wstring& suggestion)
{
    return ToUtf8(Trim(std::wstring(net::kSuggestionTag) + suggestion));
}

void CUninstallReasonPost::Send(const TickedBoxes& ticked, const std::wstring& suggestion)
{
    wchar_t machineId[kMachineIdChars] = {};
    CStatistic::Instance()->GetMachineId(machineId, kMachineIdChars);

    HttpRequest request;
    request.method = httpmethod::kPost;
    request.url = ServiceUrl(net::kFeedbackHost, net::kReasonPath);
    request.fields = {
        HttpField::Wide("reason", BuildReason(ticked)),
        HttpField::Narrow("suggest", BuildSuggest(suggestion)),
        HttpField::Wide("appver", MainExeVersionText()),
        HttpField::Wide("modever", OwnVersionText()),
        HttpField::Wide("mid", machineId),
    };
    IssueHttpRequest(this, slot_, request);
}

// The answer's "errno" and "msg" mean nothing to the survey: the slot is only cleared.
void CUninstallReasonPost::OnTaskEvent(IHttpTask* task, const HttpTaskEvent* event)
{
    if (IsFinalEvent(event)) {
        slot_.ClearIf(task);
    }
}
