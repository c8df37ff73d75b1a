// Statistics events of the uninstall, sent to the maker's statistics service.
#pragma once

#include "base/Singleton.h"

#include <string>

class CStatistic : public CSingletonT<CStatistic> {
public:
    CStatistic() = default;
    virtual ~CStatistic() = default;

    void SetProductCode(const std::wstring& code);
    void SetMainExePath(const std::wstring& path);
    // Sends one event; synchronous waits for the request, otherwise it runs on a thread of its own.
    void Report(const wchar_t* action, const wchar_t* extra, bool synchronous);

private:
    std::wstring productCode_;
    std::wstring mainExePath_;
};
