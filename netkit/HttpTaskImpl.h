// One HTTP request of the library: fields and options gathered on the caller's thread, the transfer on a
// thread of its own, the events delivered from that thread.
#pragma once

#include "net/HttpTask.h"
#include "netkit/FormEncoding.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>

class CHttpTaskImpl final : public IHttpTask {
public:
    CHttpTaskImpl();
    CHttpTaskImpl(const CHttpTaskImpl&) = delete;
    CHttpTaskImpl& operator=(const CHttpTaskImpl&) = delete;

    void SetCallback(IHttpTaskCallback* callback) override;
    int Start(int method, const wchar_t* url) override;
    int Reserved3() override { return 0; }
    // Drops the owner's reference; no event follows once it has returned. Allowed inside OnTaskEvent.
    void Release() override;
    int Reserved5() override { return 0; }
    int Reserved6() override { return 0; }
    int AddField(const char* name, const char* value) override;
    int AddFieldW(const wchar_t* name, const wchar_t* value) override;
    int Reserved9() override { return 0; }
    int Reserved10() override { return 0; }
    int Reserved11() override { return 0; }
    int Reserved12() override { return 0; }
    // Accepts "gzip" and "ungzip" switched off; compression is not offered.
    int SetOption(const char* name, int value) override;
    int Reserved14() override { return 0; }
    int Reserved15() override { return 0; }
    int Reserved16() override { return 0; }
    int GetId() override { return id_; }

private:
    ~CHttpTaskImpl() = default;

    static DWORD WINAPI ThreadMain(void* param);
    void Run();
    // Performs the transfer; true with the status and body when an answer was read.
    bool Transfer(DWORD& status, std::string& body);
    void Deliver(int32_t kind, DWORD status, const std::string& body);
    void AddRef() { refs_.fetch_add(1); }
    void Unref();

    std::atomic<long> refs_{1};
    const int32_t id_;
    std::recursive_mutex lock_;
    IHttpTaskCallback* callback_ = nullptr;
    bool released_ = false;
    bool started_ = false;
    int method_ = 0;
    std::wstring url_;
    FormFields fields_;
};
