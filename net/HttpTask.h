// The contract of the product's HTTP library: its factory, task and callback interfaces and the task event.
#pragma once

#include <cstdint>

// Kinds of task events; receivers act on the two final ones only.
namespace httpevent {
constexpr int32_t kStarted = 1;
constexpr int32_t kFinished = 2;  // the answer body is available
constexpr int32_t kFailed = 3;    // the request ended without a usable answer
}  // namespace httpevent

// Method codes of IHttpTask::Start.
namespace httpmethod {
constexpr int kGet = 0;
constexpr int kPost = 2;
}  // namespace httpmethod

// One event of a task: five 32-bit fields. Receivers read the kind and the body.
struct HttpTaskEvent {
    int32_t taskId;
    int32_t kind;
    int32_t statusCode;   // the HTTP status, 0 when none was received
    int32_t bodyLength;   // bytes of body, without the terminator
    const char* body;     // NUL-terminated UTF-8 text, valid during the call; empty for failures
};
static_assert(sizeof(HttpTaskEvent) == 20, "the event is five 32-bit fields");

class IHttpTask;

class IHttpTaskCallback {
public:
    virtual void OnTaskEvent(IHttpTask* task, const HttpTaskEvent* event) = 0;

protected:
    ~IHttpTaskCallback() = default;
};

// One request. The slots keep their positions: the uninstaller calls 1, 2, 4, 7, 8, 13 and 17; the
// reserved positions are part of the library's table and are never called by it.
class IHttpTask {
public:
    virtual void SetCallback(IHttpTaskCallback* callback) = 0;                         // 1
    virtual int Start(int method, const wchar_t* url) = 0;                             // 2
    virtual int Reserved3() = 0;                                                       // 3
    virtual void Release() = 0;                                                        // 4
    virtual int Reserved5() = 0;                                                       // 5
    virtual int Reserved6() = 0;                                                       // 6
    virtual int AddField(const char* name, const char* value) = 0;                     // 7
    virtual int AddFieldW(const wchar_t* name, const wchar_t* value) = 0;              // 8
    virtual int Reserved9() = 0;                                                       // 9
    virtual int Reserved10() = 0;                                                      // 10
    virtual int Reserved11() = 0;                                                      // 11
    virtual int Reserved12() = 0;                                                      // 12
    virtual int SetOption(const char* name, int value) = 0;                            // 13
    virtual int Reserved14() = 0;                                                      // 14
    virtual int Reserved15() = 0;                                                      // 15
    virtual int Reserved16() = 0;                                                      // 16
    virtual int GetId() = 0;                                                           // 17

protected:
    ~IHttpTask() = default;
};

class IHttpTaskFactory {
public:
    virtual IHttpTask* CreateTask() = 0;

protected:
    ~IHttpTaskFactory() = default;
};

// The library's exports.
using HttpInitProc = IHttpTaskFactory* (*)();
using HttpUninitProc = void (*)(IHttpTaskFactory* factory);
