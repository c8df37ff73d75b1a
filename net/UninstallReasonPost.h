// The post of the survey's answers: the ticked reasons and the suggestion text, with the versions and
// the machine identifier. The survey never waits for the answer.
#pragma once

#include "net/HttpTaskSlot.h"

#include <array>
#include <string>

class CUninstallReasonPost : public IHttpTaskCallback {
public:
    // Which of the reason boxes 1000 to 1005 are ticked, in control order.
    using TickedBoxes = std::array<bool, 6>;

    CUninstallReasonPost() = default;
    virtual ~CUninstallReasonPost() { slot_.Clear(); }
    CUninstallReasonPost(const CUninstallReasonPost&) = delete;
    CUninstallReasonPost& operator=(const CUninstallReasonPost&) = delete;

    // "11" for box 1000 up to "16" for box 1005, joined by "|" in ascending order.
    static std::wstring BuildReason(const TickedBoxes& ticked);
    // The product tag followed by the suggestion, trimmed at both ends of the whole, as UTF-8.
    static std::string BuildSuggest(const std::wstring& suggestion);

    // Sends the post; a request still running is released first.
    void Send(const TickedBoxes& ticked, const std::wstring& suggestion);

    void OnTaskEvent(IHttpTask* task, const HttpTaskEvent* event) override;

private:
    CHttpTaskSlot slot_;
};
