#include "netkit/HttpTaskImpl.h"

#include "base/ScopedHandle.h"

#include <winhttp.h>

#include <cstring>
#include <vector>

namespace {

struct InternetHandleTraits {
    using Type = HINTERNET;
    static Type Invalid() { return nullptr; }
    static bool IsInvalid(Type h) { return h == nullptr; }
    static void Close(Type h) { WinHttpCloseHandle(h); }
};
using UniqueInternet = UniqueResource<InternetHandleTraits>;

// Short enough that an unreachable host ends the task within a few seconds.
constexpr int kResolveTimeoutMs = 3000;
constexpr int kConnectTimeoutMs = 3000;
constexpr int kSendTimeoutMs = 5000;
constexpr int kReceiveTimeoutMs = 10000;
constexpr wchar_t kUserAgent[] = L"NetKit/1.0";
constexpr wchar_t kFormHeader[] = L"Content-Type: application/x-www-form-urlencoded\r\n";

std::atomic<int32_t> g_nextId{1};

struct UrlParts {
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring pathAndQuery;
    bool secure = false;
};

bool SplitUrl(const std::wstring& url, UrlParts& parts)
{
    URL_COMPONENTS components = {};
    components.dwStructSize = sizeof(components);
    components.dwHostNameLength = static_cast<DWORD>(-1);
    components.dwUrlPathLength = static_cast<DWORD>(-1);
    components.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &components)) {
        return false;
    }
    parts.host.assign(components.lpszHostName, components.dwHostNameLength);
    parts.port = components.nPort;
    parts.pathAndQuery.assign(components.lpszUrlPath, components.dwUrlPathLength);
    parts.pathAndQuery.append(components.lpszExtraInfo, components.dwExtraInfoLength);
    parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
    return !parts.host.empty();
}

bool ReadBody(HINTERNET request, std::string& body)
{
    for (;;) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request, &available)) {
            return false;
        }
        if (available == 0) {
            return true;
        }
        std::vector<char> chunk(available);
        DWORD read = 0;
        if (!WinHttpReadData(request, chunk.data(), available, &read)) {
            return false;
        }
        body.append(chunk.data(), read);
    }
}

}  // namespace

CHttpTaskImpl::CHttpTaskImpl() : id_(g_nextId.fetch_add(1)) {}

void CHttpTaskImpl::SetCallback(IHttpTaskCallback* callback)
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (!released_) {
        callback_ = callback;
    }
}

int CHttpTaskImpl::Start(int method, const wchar_t* url)
{
    if (url == nullptr || (method != httpmethod::kGet && method != httpmethod::kPost)) {
        return 0;
    }
    {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        if (started_ || released_) {
            return 0;
        }
        started_ = true;
        method_ = method;
        url_ = url;
    }
    AddRef();
    HANDLE thread = CreateThread(nullptr, 0, &CHttpTaskImpl::ThreadMain, this, 0, nullptr);
    if (thread == nullptr) {
        Unref();
        return 0;
    }
    CloseHandle(thread);
    return 1;
}

void CHttpTaskImpl::Release()
{
    {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        released_ = true;
        callback_ = nullptr;
    }
    Unref();
}

int CHttpTaskImpl::AddField(const char* name, const char* value)
{
    if (name == nullptr) {
        return 0;
    }
    std::lock_guard<std::recursive_mutex> guard(lock_);
    fields_.emplace_back(name, value != nullptr ? value : "");
    return 1;
}

int CHttpTaskImpl::AddFieldW(const wchar_t* name, const wchar_t* value)
{
    if (name == nullptr) {
        return 0;
    }
    std::lock_guard<std::recursive_mutex> guard(lock_);
    fields_.emplace_back(WideToUtf8(name), WideToUtf8(value != nullptr ? value : L""));
    return 1;
}

int CHttpTaskImpl::SetOption(const char* name, int value)
{
    if (name == nullptr) {
        return 0;
    }
    const bool known = std::strcmp(name, "gzip") == 0 || std::strcmp(name, "ungzip") == 0;
    return known && value == 0 ? 1 : 0;
}

void CHttpTaskImpl::Unref()
{
    if (refs_.fetch_sub(1) == 1) {
        delete this;
    }
}

// The thread keeps the library loaded until it has left the library's code.
DWORD WINAPI CHttpTaskImpl::ThreadMain(void* param)
{
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&CHttpTaskImpl::ThreadMain),
                       &self);
    static_cast<CHttpTaskImpl*>(param)->Run();
    FreeLibraryAndExitThread(self, 0);
    return 0;
}

void CHttpTaskImpl::Run()
{
    Deliver(httpevent::kStarted, 0, std::string());
    DWORD status = 0;
    std::string body;
    const bool answered = Transfer(status, body);
    const bool usable = answered && status >= 200 && status < 300;
    Deliver(usable ? httpevent::kFinished : httpevent::kFailed, status, usable ? body : std::string());
    Unref();
}

bool CHttpTaskImpl::Transfer(DWORD& status, std::string& body)
{
    UrlParts parts;
    if (!SplitUrl(url_, parts)) {
        return false;
    }
    UniqueInternet session(WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                       WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) {
        return false;
    }
    WinHttpSetTimeouts(session.Get(), kResolveTimeoutMs, kConnectTimeoutMs, kSendTimeoutMs, kReceiveTimeoutMs);
    UniqueInternet connection(WinHttpConnect(session.Get(), parts.host.c_str(), parts.port, 0));
    if (!connection) {
        return false;
    }
    const bool post = method_ == httpmethod::kPost;
    UniqueInternet request(WinHttpOpenRequest(connection.Get(), post ? L"POST" : L"GET", parts.pathAndQuery.c_str(),
                                              nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                              parts.secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request) {
        return false;
    }
    std::string form;
    if (post) {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        form = EncodeForm(fields_);
    }
    const DWORD formBytes = static_cast<DWORD>(form.size());
    const BOOL sent = WinHttpSendRequest(request.Get(), post ? kFormHeader : WINHTTP_NO_ADDITIONAL_HEADERS,
                                         post ? static_cast<DWORD>(-1) : 0,
                                         post ? const_cast<char*>(form.data()) : WINHTTP_NO_REQUEST_DATA, formBytes,
                                         formBytes, 0);
    if (!sent || !WinHttpReceiveResponse(request.Get(), nullptr)) {
        return false;
    }
    DWORD statusSize = sizeof(status);
    if (!WinHttpQueryHeaders(request.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize, WINHTTP_NO_HEADER_INDEX)) {
        return false;
    }
    return ReadBody(request.Get(), body);
}

// Runs under the task's lock, so a Release on another thread waits until the event has been handled.
void CHttpTaskImpl::Deliver(int32_t kind, DWORD status, const std::string& body)
{
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (released_ || callback_ == nullptr) {
        return;
    }
    HttpTaskEvent event = {id_, kind, static_cast<int32_t>(status), static_cast<int32_t>(body.size()), body.c_str()};
    callback_->OnTaskEvent(this, &event);
}
