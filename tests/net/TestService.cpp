#include "net/TestService.h"

#include "base/ScopedHandle.h"

#include <cJSON.h>
#include <winhttp.h>

#include <cstdio>

namespace testservice {
namespace {

struct InternetTraits {
    using Type = HINTERNET;
    static Type Invalid() { return nullptr; }
    static bool IsInvalid(Type h) { return h == nullptr; }
    static void Close(Type h) { WinHttpCloseHandle(h); }
};
using UniqueInternet = UniqueResource<InternetTraits>;

// One synchronous request to the service; the answer's body, or empty on failure.
std::string Call(const wchar_t* verb, const wchar_t* path, const std::string& body = std::string())
{
    UniqueInternet session(
        WinHttpOpen(L"TestService", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    UniqueInternet connection(WinHttpConnect(session.Get(), L"localhost", kPort, 0));
    UniqueInternet request(WinHttpOpenRequest(connection.Get(), verb, path, nullptr, WINHTTP_NO_REFERER,
                                              WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
    if (!request) {
        return std::string();
    }
    const DWORD bytes = static_cast<DWORD>(body.size());
    if (!WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, const_cast<char*>(body.data()), bytes,
                            bytes, 0) ||
        !WinHttpReceiveResponse(request.Get(), nullptr)) {
        return std::string();
    }
    std::string answer;
    for (;;) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request.Get(), &available) || available == 0) {
            return answer;
        }
        std::string chunk(available, '\0');
        DWORD read = 0;
        WinHttpReadData(request.Get(), &chunk[0], available, &read);
        answer.append(chunk.data(), read);
    }
}

std::string StringMember(const cJSON* object, const char* name)
{
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(object, name);
    return cJSON_IsString(item) ? item->valuestring : "";
}

Pairs PairsMember(const cJSON* object, const char* name)
{
    Pairs pairs;
    const cJSON* list = cJSON_GetObjectItemCaseSensitive(object, name);
    const cJSON* pair = nullptr;
    cJSON_ArrayForEach(pair, list)
    {
        pairs.emplace_back(cJSON_GetArrayItem(pair, 0)->valuestring, cJSON_GetArrayItem(pair, 1)->valuestring);
    }
    return pairs;
}

}  // namespace

std::string Request::QueryValue(const std::string& name) const
{
    for (const auto& field : queryFields) {
        if (field.first == name) {
            return field.second;
        }
    }
    return "<missing>";
}

std::vector<std::string> Request::FormNames() const
{
    std::vector<std::string> names;
    for (const auto& field : form) {
        names.push_back(field.first);
    }
    return names;
}

void Reset() { Call(L"POST", L"/__control/reset"); }

void SetReplies(const std::string& json) { Call(L"POST", L"/__control/replies", json); }

std::string Reply(int status, const std::string& body, int delayMs)
{
    char head[64];
    std::snprintf(head, sizeof(head), "{\"status\":%d,\"delay_ms\":%d,\"body\":", status, delayMs);
    return head + JsonQuote(body) + "}";
}

std::string NoAnswer() { return "{\"no_answer\":true}"; }

std::vector<Request> Journal()
{
    std::vector<Request> requests;
    cJSON* root = cJSON_Parse(Call(L"GET", L"/__control/journal").c_str());
    const cJSON* entry = nullptr;
    cJSON_ArrayForEach(entry, root)
    {
        Request request;
        request.method = StringMember(entry, "method");
        request.path = StringMember(entry, "path");
        request.query = StringMember(entry, "query");
        request.body = StringMember(entry, "body");
        request.queryFields = PairsMember(entry, "query_fields");
        request.form = PairsMember(entry, "form");
        request.contentType = StringMember(cJSON_GetObjectItemCaseSensitive(entry, "headers"), "content-type");
        requests.push_back(request);
    }
    cJSON_Delete(root);
    return requests;
}

std::vector<Request> WaitForRequests(const std::string& path, size_t count, DWORD timeoutMs,
                                     const std::string& queryPart)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        std::vector<Request> matching;
        for (const Request& request : Journal()) {
            if (request.path == path && request.query.find(queryPart) != std::string::npos) {
                matching.push_back(request);
            }
        }
        if (matching.size() >= count || GetTickCount64() >= deadline) {
            return matching;
        }
        Sleep(50);
    }
}

std::string JsonQuote(const std::string& text)
{
    cJSON* item = cJSON_CreateString(text.c_str());
    char* printed = cJSON_PrintUnformatted(item);
    std::string quoted = printed;
    cJSON_free(printed);
    cJSON_Delete(item);
    return quoted;
}

}  // namespace testservice
