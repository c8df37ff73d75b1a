// The tests' side of the local test service: choosing its replies and reading its journal.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace testservice {

// The port the build's service hosts name (localhost:18080).
constexpr WORD kPort = 18080;

using Pairs = std::vector<std::pair<std::string, std::string>>;

// One request as the service received it; texts are UTF-8, form values decoded from the body.
struct Request {
    std::string method;
    std::string path;
    std::string query;
    std::string body;
    Pairs queryFields;
    Pairs form;
    std::string contentType;

    // The first value of name in the query, or in the form; "<missing>" when absent.
    std::string QueryValue(const std::string& name) const;
    std::vector<std::string> FormNames() const;
};

// Forgets the journal and every chosen reply.
void Reset();
// Sets replies: a JSON object of path -> reply or list of replies (see tests/service/test_service.py).
void SetReplies(const std::string& json);
// A reply object's JSON text.
std::string Reply(int status, const std::string& body, int delayMs = 0);
std::string NoAnswer();

std::vector<Request> Journal();
// The requests of path whose query contains queryPart, once at least count of them arrived or timeoutMs passed.
std::vector<Request> WaitForRequests(const std::string& path, size_t count, DWORD timeoutMs = 10000,
                                     const std::string& queryPart = std::string());

// A string as a JSON string literal (quotes included).
std::string JsonQuote(const std::string& text);

}  // namespace testservice
