#include "sysinfo/NetworkAddress.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/ScopedHandle.h"
#include "base/StringUtil.h"

#include <windows.h>
#include <iphlpapi.h>
#include <nb30.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr wchar_t kNetworkCardsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
constexpr wchar_t kAdapterClassKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
constexpr DWORD kMaxClassEntries = 256;
constexpr DWORD kQueryGlobalStats = 0x170002;
constexpr DWORD kPermanentAddressOid = 0x01010101;
constexpr unsigned kPhysicalBusType = 5;
constexpr unsigned kTypeEthernet = 6;
constexpr unsigned kTypeWireless = 71;
constexpr DWORD kAdapterStatusBytes = 600;

// An entry of the network adapter class key.
struct ClassEntry {
    std::wstring instanceId;
    bool physical = false;
    bool wireless = false;
};

bool ContainsNoCase(const std::wstring& text, const std::wstring& part)
{
    return ToUpper(text).find(ToUpper(part)) != std::wstring::npos;
}

bool ContainsNoCase(const std::string& text, const char* part)
{
    std::string upper(text);
    std::string upperPart(part);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    std::transform(upperPart.begin(), upperPart.end(), upperPart.begin(), [](unsigned char c) { return std::toupper(c); });
    return upper.find(upperPart) != std::string::npos;
}

std::vector<std::wstring> SubKeyNames(HKEY key, DWORD limit)
{
    std::vector<std::wstring> names;
    wchar_t name[256];
    for (DWORD index = 0; index < limit; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

std::vector<std::wstring> NetworkCardServices()
{
    std::vector<std::wstring> services;
    UniqueHKey cards = OpenRegKey(HKEY_LOCAL_MACHINE, kNetworkCardsKey, KEY_READ);
    if (!cards) {
        return services;
    }
    for (const std::wstring& card : SubKeyNames(cards.Get(), MAXDWORD)) {
        std::optional<std::wstring> service = RegReadString(cards.Get(), card, L"ServiceName");
        if (service && !service->empty()) {
            services.push_back(*service);
        }
    }
    return services;
}

// "BusType" is stored as a text by most drivers and as a number by some.
unsigned ReadBusType(HKEY entry)
{
    DWORD type = 0;
    BYTE data[64] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    if (RegQueryValueExW(entry, L"BusType", nullptr, &type, data, &size) != ERROR_SUCCESS) {
        return 0;
    }
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        return *reinterpret_cast<DWORD*>(data);
    }
    return type == REG_SZ ? static_cast<unsigned>(wcstoul(reinterpret_cast<wchar_t*>(data), nullptr, 10)) : 0;
}

std::optional<std::vector<ClassEntry>> ReadAdapterClass()
{
    UniqueHKey adapters = OpenRegKey(HKEY_LOCAL_MACHINE, kAdapterClassKey, KEY_READ);
    if (!adapters) {
        return std::nullopt;
    }
    std::vector<ClassEntry> entries;
    for (const std::wstring& name : SubKeyNames(adapters.Get(), kMaxClassEntries)) {
        UniqueHKey entry = OpenRegKey(adapters.Get(), name, KEY_READ);
        if (!entry) {
            continue;
        }
        ClassEntry record;
        record.instanceId = RegReadString(entry.Get(), L"", L"NetCfgInstanceId").value_or(L"");
        record.physical = ReadBusType(entry.Get()) == kPhysicalBusType;
        record.wireless = IsWirelessAdapter(RegReadString(entry.Get(), L"", L"DriverDesc").value_or(L""),
                                            RegReadString(entry.Get(), L"Ndi\\Interfaces", L"LowerRange").value_or(L""));
        entries.push_back(record);
    }
    return entries;
}

const ClassEntry* FindClassEntry(const std::vector<ClassEntry>& entries, const std::wstring& id)
{
    for (const ClassEntry& entry : entries) {
        if (EqualsNoCase(entry.instanceId, id)) {
            return &entry;
        }
    }
    return nullptr;
}

std::string PermanentAddress(const std::wstring& service)
{
    UniqueHandle device(CreateFileW((L"\\\\.\\" + service).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (!device) {
        return std::string();
    }
    DWORD oid = kPermanentAddressOid;
    unsigned char address[32] = {};
    DWORD returned = 0;
    if (!DeviceIoControl(device.Get(), kQueryGlobalStats, &oid, sizeof(oid), address, sizeof(address), &returned,
                         nullptr) ||
        returned < 6) {
        return std::string();
    }
    return FormatHardwareAddress(address);
}

std::string NetbiosAddress()
{
    UniqueModule netapi(LoadLibraryExW(L"Netapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!netapi) {
        return std::string();
    }
    using NetbiosFn = UCHAR(WINAPI*)(PNCB);
    auto netbios = reinterpret_cast<NetbiosFn>(GetProcAddress(netapi.Get(), "Netbios"));
    if (netbios == nullptr) {
        return std::string();
    }
    LANA_ENUM adapters = {};
    NCB control = {};
    control.ncb_command = NCBENUM;
    control.ncb_buffer = reinterpret_cast<PUCHAR>(&adapters);
    control.ncb_length = sizeof(adapters);
    if (netbios(&control) != NRC_GOODRET || adapters.length == 0) {
        return std::string();
    }
    control = {};
    control.ncb_command = NCBRESET;
    control.ncb_lana_num = adapters.lana[0];
    netbios(&control);
    std::vector<unsigned char> status(kAdapterStatusBytes, 0);
    control = {};
    control.ncb_command = NCBASTAT;
    control.ncb_lana_num = adapters.lana[0];
    std::memcpy(control.ncb_callname, "*               ", NCBNAMSZ);
    control.ncb_buffer = status.data();
    control.ncb_length = kAdapterStatusBytes;
    if (netbios(&control) != NRC_GOODRET) {
        return std::string();
    }
    return FormatHardwareAddress(reinterpret_cast<ADAPTER_STATUS*>(status.data())->adapter_address);
}

std::string AddressFromCards(const std::optional<std::vector<ClassEntry>>& classEntries)
{
    std::vector<AdapterAddress> candidates;
    for (const std::wstring& service : NetworkCardServices()) {
        const ClassEntry* entry = classEntries ? FindClassEntry(*classEntries, service) : nullptr;
        if (classEntries && (entry == nullptr || !entry->physical)) {
            continue;
        }
        std::string address = PermanentAddress(service);
        if (!address.empty()) {
            candidates.push_back({address, entry != nullptr && entry->wireless});
        }
    }
    return ChooseAdapterAddress(candidates);
}

std::vector<unsigned char> AdapterInfoList()
{
    ULONG size = sizeof(IP_ADAPTER_INFO);
    std::vector<unsigned char> buffer(size);
    ULONG result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    if (result == ERROR_BUFFER_OVERFLOW) {
        buffer.resize(size);
        result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    return result == ERROR_SUCCESS ? buffer : std::vector<unsigned char>();
}

std::string AddressFromAdapterList(const std::vector<ClassEntry>& classEntries)
{
    const std::vector<unsigned char> list = AdapterInfoList();
    if (list.empty()) {
        return std::string();
    }
    std::vector<AdapterAddress> candidates;
    for (auto* info = reinterpret_cast<const IP_ADAPTER_INFO*>(list.data()); info != nullptr; info = info->Next) {
        const ClassEntry* entry = FindClassEntry(classEntries, FromUtf8(info->AdapterName));
        bool wireless = false;
        if (entry == nullptr || !entry->physical || info->AddressLength != 6 ||
            !ClassifyListedAdapter(info->Type, info->Description, wireless)) {
            continue;
        }
        candidates.push_back({FormatHardwareAddress(info->Address), wireless});
    }
    return ChooseAdapterAddress(candidates);
}

}  // namespace

std::string FormatHardwareAddress(const unsigned char* bytes)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%02X%02X%02X%02X%02X%02X", bytes[0], bytes[1], bytes[2], bytes[3], bytes[4],
                  bytes[5]);
    return text;
}

std::string ChooseAdapterAddress(const std::vector<AdapterAddress>& candidates)
{
    std::optional<std::string> wired;
    std::optional<std::string> wireless;
    for (const AdapterAddress& candidate : candidates) {
        std::optional<std::string>& best = candidate.wireless ? wireless : wired;
        if (!best || candidate.address < *best) {
            best = candidate.address;
        }
    }
    return wired ? *wired : wireless.value_or(std::string());
}

bool IsWirelessAdapter(const std::wstring& driverDescription, const std::wstring& lowerRange)
{
    return ContainsNoCase(driverDescription, L"Wireless") || ContainsNoCase(lowerRange, L"wlan") ||
           ContainsNoCase(lowerRange, L"vwifi");
}

bool ClassifyListedAdapter(unsigned type, const std::string& description, bool& wireless)
{
    if (type == kTypeWireless) {
        wireless = true;
        return true;
    }
    if (type == kTypeEthernet) {
        wireless = ContainsNoCase(description, "wifi") || ContainsNoCase(description, "wireless");
        return true;
    }
    return false;
}

std::string NetworkAddressForMid()
{
    std::vector<AdapterAddress> candidates;
    for (const std::wstring& service : NetworkCardServices()) {
        std::string address = PermanentAddress(service);
        if (!address.empty()) {
            candidates.push_back({address, false});
        }
    }
    const std::string address = ChooseAdapterAddress(candidates);
    return address.empty() ? NetbiosAddress() : address;
}

std::string NetworkAddressForMid2()
{
    const std::optional<std::vector<ClassEntry>> classEntries = ReadAdapterClass();
    const std::string address = AddressFromCards(classEntries);
    if (!address.empty() || !classEntries) {
        return address;
    }
    return AddressFromAdapterList(*classEntries);
}
