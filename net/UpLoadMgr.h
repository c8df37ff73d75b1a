// A second holder of the HTTP library with a factory of its own, handed back to the library at exit.
#pragma once

#include "base/Locker.h"
#include "net/HttpLibraryEntries.h"
#include "net/HttpTask.h"

#include <windows.h>

#include <memory>

class CUpLoadMgr : public IHttpTaskCallback {
public:
    CUpLoadMgr();
    virtual ~CUpLoadMgr();
    CUpLoadMgr(const CUpLoadMgr&) = delete;
    CUpLoadMgr& operator=(const CUpLoadMgr&) = delete;

    // Loads the signed library at path and creates a factory; 1 once initialised, else 0.
    int Init(const wchar_t* path);
    // Hands the factory back through HttpUninit and frees the library once.
    void Uninit();

    void OnTaskEvent(IHttpTask* task, const HttpTaskEvent* event) override;

private:
    int initialised_ = 0;
    HttpLibraryEntries library_;
    std::unique_ptr<_BaseModule::CCriticalSection> lock_;
};

// The process's manager; its teardown runs at process exit.
CUpLoadMgr& UpLoadMgr();
