// Statistics events ("dot" reports) sent to the maker's statistics service as plain GET requests.
#pragma once

#include "base/Singleton.h"
#include "config/OemConfig.h"

#include <windows.h>

#include <string>

// What a completion callback of a report receives.
struct ReportResult {
    int success;
};
using ReportCallback = void (*)(const ReportResult* result);

// Where the two machine identifiers come from; replaceable so that tests can give known values.
struct MachineIdSource {
    bool (*getMidW)(wchar_t* buf, int capacity);
    HRESULT (*getMid2)(wchar_t* buf, int capacity);
};
MachineIdSource DefaultMachineIdSource();

class CStatistic : public CSingletonT<CStatistic> {
public:
    CStatistic();
    explicit CStatistic(const MachineIdSource& source);
    virtual ~CStatistic() = default;

    // Sends a finished URL after the OEM host replacement; the result is Download's.
    virtual int SendUrl(const wchar_t* url, bool synchronous, ReportCallback callback);
    // 1 with the fixed file version "%d.%d.%d.%d" in buffer, 0 without version information.
    virtual int GetFileVersion(const wchar_t* path, wchar_t* buffer, int capacity);
    virtual bool IsOnline();
    virtual bool HasGatewayAdapter();
    // Fetches url into the cache (or into destination), on a thread of its own when asynchronous:
    // then 1 once the thread runs. Synchronous: 1 when the fetch succeeded, else 0.
    virtual int Download(const wchar_t* url, const wchar_t* destination, bool asynchronous, int reserved,
                         ReportCallback callback);
    virtual void GetMachineId(wchar_t* buffer, int capacity);
    virtual bool GetMachineId2(wchar_t* buffer, int capacity);

    // Sends one event; 0 when nothing was sent (no action or no product code), else SendUrl's result.
    int Report(const wchar_t* action, const wchar_t* extra, bool synchronous, ReportCallback callback = nullptr);
    void SetProductCode(const std::wstring& code);
    void SetMainExePath(const wchar_t* path);
    void SetMainExePath(const std::wstring& path) { SetMainExePath(path.c_str()); }

    // The report address for an action before the OEM host replacement.
    std::wstring BuildReportUrl(const wchar_t* action, const wchar_t* extra);

private:
    friend class CReportThread;

    void EnsureIdentity();
    // The fetch itself on the calling thread; true on success.
    bool Fetch(const wchar_t* url, const wchar_t* destination, ReportCallback callback);

    std::wstring mainVersion_;
    std::wstring machineId_;
    std::wstring productCode_;
    std::wstring productId_;
    std::wstring ownVersion_;
    std::wstring machineId2_;
    COemConfig oem_;
    MachineIdSource idSource_;
};
