// The product's HTTP library, loaded once per process from the program's own directory after its
// signature check; its factory is what every request of the program starts from.
#pragma once

#include "base/Singleton.h"
#include "net/HttpLibraryEntries.h"
#include "net/HttpTask.h"

#include <windows.h>

#include <string>

// The process's holder of the library. The module is never freed and the factory never handed back.
class CHttpModule : public CSingletonT<CHttpModule> {
public:
    CHttpModule() = default;
    virtual ~CHttpModule() = default;

    // Loads the library at path once, if it carries the maker's signature, and keeps the factory that
    // its HttpInit returns. Any failure leaves the holder without a factory.
    void Load(const std::wstring& path);
    // The factory, or null: without it every request is skipped.
    IHttpTaskFactory* Factory() const { return library_.factory; }

private:
    HttpLibraryEntries library_;
};

CHttpModule* GetHttpModule();

// Loads "NetKit.dll" from the running executable's directory into the process's holder.
void LoadHttpModule();
