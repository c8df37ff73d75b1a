// The HTTP library's module and entry points as a holder takes them: HttpInit/HttpUninit, the
// optional compression exports, and the factory HttpInit returned.
#pragma once

#include "net/HttpTask.h"

#include <windows.h>

struct HttpLibraryEntries {
    HMODULE module = nullptr;
    HttpInitProc init = nullptr;
    HttpUninitProc uninit = nullptr;
    IHttpTaskFactory* factory = nullptr;
    FARPROC uncompress = nullptr;
    FARPROC compress = nullptr;
    FARPROC compressBound = nullptr;

    // Loads the library at path, resolves the entries and asks HttpInit for the factory; a failing
    // step leaves the rest empty.
    void Load(const wchar_t* path);
    // Hands the factory back, frees the module and empties every entry.
    void Unload();
};
