// A requester's hold on its current HTTP task, and the one way every request is issued.
#pragma once

#include "base/Locker.h"
#include "net/HttpTask.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Releases a task when its last owning reference goes.
struct HttpTaskDeletor {
    void operator()(IHttpTask* task) const
    {
        if (task != nullptr) {
            task->Release();
        }
    }
};

using HttpTaskPtr = std::shared_ptr<IHttpTask>;

// One request kind's current task. The slot is shared between the requester's thread and the library's
// threads; tasks are always released outside its lock, so a Release that waits for a running event
// never waits for this lock too.
class CHttpTaskSlot {
public:
    CHttpTaskSlot() = default;
    CHttpTaskSlot(const CHttpTaskSlot&) = delete;
    CHttpTaskSlot& operator=(const CHttpTaskSlot&) = delete;

    // Makes task the current one; the previous task is released.
    void Store(HttpTaskPtr task);
    bool Holds(const IHttpTask* task);
    // Releases the current task if it is still task (a newer request stays).
    void ClearIf(const IHttpTask* task);
    void Clear();

private:
    _BaseModule::CCriticalSection lock_;
    HttpTaskPtr task_;
};

// One form field, narrow (AddField) or UTF-16 (AddFieldW).
struct HttpField {
    std::string name;
    std::string narrowValue;
    std::wstring wideValue;
    bool wide = false;

    static HttpField Narrow(std::string name, std::string value);
    static HttpField Wide(std::string name, std::wstring value);
};

struct HttpRequest {
    int method = httpmethod::kGet;
    std::wstring url;
    std::vector<HttpField> fields;
    // Runs just before Start, when a task exists.
    std::function<void()> beforeStart;
    // Receives GetId after Start when set.
    int* idOut = nullptr;
};

// Creates a task from the process's HTTP library, stores it in the slot and starts it with the callback.
// False when there is no library or no task: nothing was requested and no event will come.
bool IssueHttpRequest(IHttpTaskCallback* callback, CHttpTaskSlot& slot, const HttpRequest& request);

// The body of a final event: kind 2 gives its text, kind 3 gives null. Callers test IsFinalEvent first.
bool IsFinalEvent(const HttpTaskEvent* event);
const char* FinishedBody(const HttpTaskEvent* event);
