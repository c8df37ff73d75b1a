#include "net/HttpLibraryEntries.h"

void HttpLibraryEntries::Load(const wchar_t* path)
{
    module = LoadLibraryW(path);
    if (module == nullptr) {
        return;
    }
    init = reinterpret_cast<HttpInitProc>(GetProcAddress(module, "HttpInit"));
    uninit = reinterpret_cast<HttpUninitProc>(GetProcAddress(module, "HttpUninit"));
    uncompress = GetProcAddress(module, "zlib_uncompress");
    compress = GetProcAddress(module, "zlib_compress");
    compressBound = GetProcAddress(module, "zlib_compressBound");
    if (init != nullptr) {
        factory = init();
    }
}

void HttpLibraryEntries::Unload()
{
    if (uninit != nullptr && factory != nullptr) {
        uninit(factory);
    }
    const HMODULE loaded = module;
    *this = HttpLibraryEntries();
    if (loaded != nullptr) {
        FreeLibrary(loaded);
    }
}
