#include "net/Statistic.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "config/ProductConstants.h"
#include "net/NetConstants.h"
#include "sysinfo/MachineId.h"

#include <iphlpapi.h>
#include <urlmon.h>

#include <cwchar>
#include <memory>
#include <new>
#include <vector>

// Declared here without the import attribute of the system header, so that the call reaches the
// delay-load stub.
extern "C" BOOL WINAPI InternetGetConnectedState(LPDWORD flags, DWORD reserved);

namespace {

constexpr int kIdBufferChars = 260;
constexpr DWORD kConnectedFlags = 0x1 | 0x2 | 0x4;  // modem, LAN, proxy
constexpr ULONG kAdapterBufferBytes = 648;
constexpr DWORD kMaxVersionInfoBytes = 16383;
constexpr size_t kJobUrlChars = 2048;
constexpr size_t kJobFileChars = 520;

// One asynchronous report, owned and freed by its thread.
struct ReportJob {
    CStatistic* owner = nullptr;
    wchar_t url[kJobUrlChars] = {};
    wchar_t destination[kJobFileChars] = {};
    int autoFree = 1;
    ReportCallback callback = nullptr;
};

void ReplaceAll(std::wstring& text, const std::wstring& key, const std::wstring& value)
{
    if (text.find(key, 1) == std::wstring::npos) {
        return;
    }
    for (size_t at = text.find(key); at != std::wstring::npos; at = text.find(key, at + value.size())) {
        text.replace(at, key.size(), value);
    }
}

template <size_t N>
void CopyInto(wchar_t (&buffer)[N], const wchar_t* text)
{
    if (text != nullptr) {
        wcsncpy(buffer, text, N - 1);
    }
}

}  // namespace

// The report thread's entry, a friend so that it may run the owner's fetch.
class CReportThread {
public:
    static DWORD WINAPI Run(void* param)
    {
        std::unique_ptr<ReportJob> job(static_cast<ReportJob*>(param));
        if (job->owner != nullptr && job->url[0] != L'\0' && job->owner->IsOnline()) {
            job->owner->Fetch(job->url, job->destination[0] != L'\0' ? job->destination : nullptr, job->callback);
        }
        return 0;
    }
};

MachineIdSource DefaultMachineIdSource() { return MachineIdSource{&GetMidW, &GetMid2}; }

CStatistic::CStatistic() : CStatistic(DefaultMachineIdSource()) {}

CStatistic::CStatistic(const MachineIdSource& source) : idSource_(source) { oem_.Init(product::kOemProductCode); }

int CStatistic::SendUrl(const wchar_t* url, bool synchronous, ReportCallback callback)
{
    if (url == nullptr) {
        return 0;
    }
    const std::wstring address = oem_.ApplyToUrl(product::kStatisticsService, url);
    return Download(address.c_str(), nullptr, !synchronous, 0, callback);
}

int CStatistic::GetFileVersion(const wchar_t* path, wchar_t* buffer, int capacity)
{
    if (path == nullptr || buffer == nullptr || capacity <= 0) {
        return 0;
    }
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0 || size > kMaxVersionInfoBytes) {
        return 0;
    }
    std::vector<char> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoBytes = 0;
    if (!GetFileVersionInfoW(path, 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoBytes) || info == nullptr) {
        return 0;
    }
    wmemset(buffer, L'\0', static_cast<size_t>(capacity));
    _snwprintf(buffer, static_cast<size_t>(capacity - 1), L"%d.%d.%d.%d", HIWORD(info->dwFileVersionMS),
               LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
    return 1;
}

bool CStatistic::IsOnline()
{
    DWORD flags = 0;
    if (InternetGetConnectedState(&flags, 0) && (flags & kConnectedFlags) != 0) {
        return true;
    }
    return HasGatewayAdapter();
}

bool CStatistic::HasGatewayAdapter()
{
    ULONG size = kAdapterBufferBytes;
    std::vector<unsigned char> buffer(size);
    DWORD result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    if (result == ERROR_BUFFER_OVERFLOW) {
        buffer.assign(size, 0);
        result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    if (result != ERROR_SUCCESS) {
        return false;
    }
    for (const IP_ADAPTER_INFO* adapter = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data()); adapter != nullptr;
         adapter = adapter->Next) {
        if (adapter->GatewayList.IpAddress.String[0] != '\0') {
            return true;
        }
    }
    return false;
}

int CStatistic::Download(const wchar_t* url, const wchar_t* destination, bool asynchronous, int,
                         ReportCallback callback)
{
    if (url == nullptr) {
        return 0;
    }
    if (!asynchronous) {
        return Fetch(url, destination, callback) ? 1 : 0;
    }
    auto* job = new (std::nothrow) ReportJob();
    if (job == nullptr) {
        return 0;
    }
    job->owner = this;
    CopyInto(job->url, url);
    CopyInto(job->destination, destination);
    job->callback = callback;
    HANDLE thread = CreateThread(nullptr, 0, &CReportThread::Run, job, 0, nullptr);
    if (thread == nullptr) {
        delete job;
        return 0;
    }
    CloseHandle(thread);
    return 1;
}

bool CStatistic::Fetch(const wchar_t* url, const wchar_t* destination, ReportCallback callback)
{
    if (url == nullptr || url[0] == L'\0') {
        return false;
    }
    HRESULT result = E_FAIL;
    if (destination != nullptr) {
        result = URLDownloadToFileW(nullptr, url, destination, 0, nullptr);
    } else {
        wchar_t cached[MAX_PATH] = {};
        result = URLDownloadToCacheFileW(nullptr, url, cached, MAX_PATH, 0, nullptr);
        if (SUCCEEDED(result)) {
            DeleteFileW(cached);
        }
    }
    if (callback != nullptr) {
        const ReportResult report = {SUCCEEDED(result) ? 1 : 0};
        callback(&report);
    }
    return SUCCEEDED(result);
}

void CStatistic::GetMachineId(wchar_t* buffer, int capacity)
{
    if (buffer == nullptr || capacity <= 0) {
        return;
    }
    buffer[0] = L'\0';
    if (idSource_.getMidW != nullptr) {
        idSource_.getMidW(buffer, capacity);
    }
}

bool CStatistic::GetMachineId2(wchar_t* buffer, int capacity)
{
    if (buffer == nullptr || capacity <= 0) {
        return false;
    }
    buffer[0] = L'\0';
    return idSource_.getMid2 != nullptr && idSource_.getMid2(buffer, capacity) >= 0;
}

int CStatistic::Report(const wchar_t* action, const wchar_t* extra, bool synchronous, ReportCallback callback)
{
    if (action == nullptr || action[0] == L'\0' || productCode_.empty()) {
        return 0;
    }
    EnsureIdentity();
    return SendUrl(BuildReportUrl(action, extra).c_str(), synchronous, callback);
}

std::wstring CStatistic::BuildReportUrl(const wchar_t* action, const wchar_t* extra)
{
    std::wstring query = net::kReportTemplate;
    ReplaceAll(query, L"{type}", productCode_);
    ReplaceAll(query, L"{action}", action != nullptr ? action : L"");
    ReplaceAll(query, L"{ver}", mainVersion_);
    ReplaceAll(query, L"{mid}", machineId_);
    ReplaceAll(query, L"{mid2}", machineId2_);
    ReplaceAll(query, L"{pid}", productId_);
    if (extra != nullptr) {
        query += extra;
    }
    return std::wstring(L"http://") + net::kStatsHost + query;
}

void CStatistic::SetProductCode(const std::wstring& code) { productCode_ = code; }

void CStatistic::SetMainExePath(const wchar_t* path)
{
    if (path == nullptr) {
        return;
    }
    wchar_t version[MAX_PATH] = {};
    mainVersion_ = GetFileVersion(path, version, MAX_PATH) ? version : L"";
}

void CStatistic::EnsureIdentity()
{
    wchar_t buffer[kIdBufferChars] = {};
    if (machineId_.empty()) {
        GetMachineId(buffer, kIdBufferChars);
        machineId_ = buffer;
    }
    if (machineId2_.empty()) {
        machineId2_ = GetMachineId2(buffer, kIdBufferChars) ? buffer : L"";
    }
    if (mainVersion_.empty()) {
        const std::wstring mainExe = PathJoin(GetModuleDirectory(), product::kDefaultMainExe);
        mainVersion_ = GetFileVersion(mainExe.c_str(), buffer, kIdBufferChars) ? buffer : L"";
    }
    if (productId_.empty()) {
        productId_ = RegReadString(HKEY_CURRENT_USER, product::kProductKey, product::kPidValue, kIdBufferChars)
                         .value_or(L"");
    }
    if (ownVersion_.empty()) {
        ownVersion_ = GetFileVersion(GetModulePath().c_str(), buffer, kIdBufferChars) ? buffer : L"";
    }
}
