#include "net/HttpTaskSlot.h"

#include "net/HttpModule.h"

#include <utility>

void CHttpTaskSlot::Store(HttpTaskPtr task)
{
    HttpTaskPtr previous;
    {
        _BaseModule::CAutoLocker guard(lock_);
        previous = std::exchange(task_, std::move(task));
    }
}

bool CHttpTaskSlot::Holds(const IHttpTask* task)
{
    _BaseModule::CAutoLocker guard(lock_);
    return task != nullptr && task_.get() == task;
}

void CHttpTaskSlot::ClearIf(const IHttpTask* task)
{
    HttpTaskPtr previous;
    {
        _BaseModule::CAutoLocker guard(lock_);
        if (task_.get() == task) {
            previous = std::move(task_);
        }
    }
}

void CHttpTaskSlot::Clear()
{
    HttpTaskPtr previous;
    {
        _BaseModule::CAutoLocker guard(lock_);
        previous = std::move(task_);
    }
}

HttpField HttpField::Narrow(std::string name, std::string value)
{
    HttpField field;
    field.name = std::move(name);
    field.narrowValue = std::move(value);
    return field;
}

HttpField HttpField::Wide(std::string name, std::wstring value)
{
    HttpField field;
    field.name = std::move(name);
    field.wideValue = std::move(value);
    field.wide = true;
    return field;
}

bool IssueHttpRequest(IHttpTaskCallback* callback, CHttpTaskSlot& slot, const HttpRequest& request)
{
    IHttpTaskFactory* factory = GetHttpModule()->Factory();
    if (factory == nullptr) {
        return false;
    }
    IHttpTask* created = factory->CreateTask();
    if (created == nullptr) {
        return false;
    }
    // A local reference keeps the task alive while it is set up, even if its answer clears the slot.
    const HttpTaskPtr task(created, HttpTaskDeletor());
    task->SetOption("ungzip", 0);
    task->SetOption("gzip", 0);
    slot.Store(task);
    task->SetCallback(callback);
    for (const HttpField& field : request.fields) {
        if (field.wide) {
            const std::wstring name(field.name.begin(), field.name.end());
            task->AddFieldW(name.c_str(), field.wideValue.c_str());
        } else {
            task->AddField(field.name.c_str(), field.narrowValue.c_str());
        }
    }
    if (request.beforeStart) {
        request.beforeStart();
    }
    task->Start(request.method, request.url.c_str());
    if (request.idOut != nullptr) {
        *request.idOut = task->GetId();
    }
    return true;
}

bool IsFinalEvent(const HttpTaskEvent* event)
{
    return event != nullptr && (event->kind == httpevent::kFinished || event->kind == httpevent::kFailed);
}

const char* FinishedBody(const HttpTaskEvent* event)
{
    if (event->kind != httpevent::kFinished) {
        return nullptr;
    }
    return event->body != nullptr ? event->body : "";
}
