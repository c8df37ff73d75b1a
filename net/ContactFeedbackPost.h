// The post of the contact details that the VIP offer asks for, and what its answer does to the form.
#pragma once

#include "net/HttpTaskSlot.h"

#include <windows.h>

#include <functional>
#include <string>

class CContactFeedbackPost : public IHttpTaskCallback {
public:
    // Receives the server's refusal text on the library's thread; the form shows it on its UI thread.
    using RefusalHandler = std::function<void(const std::wstring& message)>;

    // On acceptance notifyMessage (wParam 0, lParam 0) is posted to notifyWindow.
    CContactFeedbackPost(HWND notifyWindow, UINT notifyMessage, RefusalHandler onRefused);
    virtual ~CContactFeedbackPost() { slot_.Clear(); }
    CContactFeedbackPost(const CContactFeedbackPost&) = delete;
    CContactFeedbackPost& operator=(const CContactFeedbackPost&) = delete;

    // Sends the four texts, each converted with the thread's ANSI code page; a running request is released.
    void Send(const std::wstring& phone, const std::wstring& weixin, const std::wstring& qq,
              const std::wstring& email);

    void OnTaskEvent(IHttpTask* task, const HttpTaskEvent* event) override;

private:
    void HandleAnswer(const char* body);

    CHttpTaskSlot slot_;
    HWND notifyWindow_;
    UINT notifyMessage_;
    RefusalHandler onRefused_;
    int taskId_ = 0;
};
