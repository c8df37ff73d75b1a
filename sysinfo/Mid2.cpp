#include "sysinfo/Mid2.h"

#include "base/Registry.h"
#include "base/ScopedHandle.h"
#include "base/StringUtil.h"
#include "crypto/Sha1.h"
#include "sysinfo/Crc8.h"
#include "sysinfo/MachineIdNames.h"
#include "sysinfo/MachineIdSources.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <optional>

namespace {

constexpr char kRandomPrefix[] = "ffffffff";
constexpr char kNotElevatedPrefix[] = "eeeeeeee";
constexpr size_t kPrefixChars = 8;
constexpr unsigned long kRetryWaitMs = 500;

std::string Sha1Hex(const std::string& bytes)
{
    Sha1Context context;
    Sha1Init(context);
    Sha1Update(context, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    uint8_t digest[kSha1DigestSize];
    Sha1Final(digest, context);
    return ToLowerHex(digest, sizeof(digest));
}

std::string AnsiOf(const std::wstring& text)
{
    if (text.empty()) {
        return std::string();
    }
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string ansi(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &ansi[0], size, nullptr, nullptr);
    return ansi;
}

bool StartsWithRandomPrefix(const std::string& id)
{
    return id.size() >= kPrefixChars && EqualsNoCase(FromUtf8(id.substr(0, kPrefixChars)), FromUtf8(kRandomPrefix));
}

std::string TwoHexDigits(unsigned value)
{
    char digits[3];
    std::snprintf(digits, sizeof(digits), "%02x", value & 0xff);
    return digits;
}

unsigned FlagsOf(const Mid2Hardware& hardware)
{
    return (hardware.address.empty() ? 0 : kMid2AddressRead) | (hardware.disk.empty() ? 0 : kMid2DiskRead) |
           (hardware.processor.empty() ? 0 : kMid2ProcessorRead);
}

std::optional<std::wstring> ReadValidCache()
{
    std::optional<std::wstring> cached =
        RegReadString(HKEY_LOCAL_MACHINE, machine_id::kMid2Key, machine_id::kMid2Value, MAX_PATH, KEY_WOW64_32KEY);
    if (cached && IsValidMid2(*cached)) {
        return cached;
    }
    return std::nullopt;
}

void WriteWide(HKEY key, const wchar_t* name, const std::wstring& value)
{
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::wstring Store(const std::string& composed, const std::optional<std::wstring>& cached)
{
    const std::wstring value = FromUtf8(composed);
    HKEY rawKey = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, machine_id::kMid2Key, 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_QUERY_VALUE | KEY_WOW64_32KEY, nullptr, &rawKey,
                        nullptr) != ERROR_SUCCESS) {
        return value;
    }
    UniqueHKey key(rawKey);
    if (cached && !EqualsNoCase(*cached, value)) {
        WriteWide(key.Get(), machine_id::kMid2OldValue, *cached);
    }
    WriteWide(key.Get(), machine_id::kMid2Value, value);
    return value;
}

Mid2Hardware Collect(IMachineIdSources& sources)
{
    Mid2Hardware hardware;
    hardware.address = sources.NetworkAddressForMid2();
    hardware.disk = sources.DiskIdForMid2();
    hardware.processor = sources.ProcessorTextForMid2();
    return hardware;
}

// Reads again whichever of address and disk is still missing.
Mid2Hardware CollectMissing(const Mid2Hardware& hardware, IMachineIdSources& sources)
{
    Mid2Hardware again = hardware;
    if (again.address.empty()) {
        again.address = sources.NetworkAddressForMid2();
    }
    if (again.disk.empty()) {
        again.disk = sources.DiskIdForMid2();
    }
    return again;
}

// The last word on a fresh composition: kept when it came from the hardware, when there is no
// usable cache, or when the cache holds no random placeholder; otherwise the placeholder stays.
std::wstring Settle(const Mid2Composition& composed, const std::optional<std::wstring>& cached)
{
    if (composed.success || !cached || !IsPlaceholderMid2(*cached)) {
        return Store(composed.value, cached);
    }
    return *cached;
}

}  // namespace

bool IsValidMid2(const std::wstring& value)
{
    if (value.size() != kMid2Chars) {
        return false;
    }
    unsigned checksum = 0;
    if (swscanf(value.substr(kMid2IdChars + 2, 2).c_str(), L"%x", &checksum) != 1) {
        return false;
    }
    return checksum == Crc8(AnsiOf(value.substr(0, kMid2IdChars + 2)));
}

bool IsPlaceholderMid2(const std::wstring& value)
{
    return value.size() >= kPrefixChars && EqualsNoCase(value.substr(0, kPrefixChars), L"ffffffff");
}

Mid2Composition ComposeMid2(const Mid2Hardware& hardware, bool elevated, IMachineIdSources& sources)
{
    Mid2Composition result;
    unsigned flags = FlagsOf(hardware);
    std::string id;
    if (hardware.HasAddressOrDisk()) {
        id = Sha1Hex(hardware.address + hardware.disk + hardware.processor);
        flags |= kMid2HashedId;
        result.success = true;
    } else {
        std::string digits;
        if (sources.NewGuidDigits(digits)) {
            id = kRandomPrefix + digits;
        }
        flags = kMid2RandomId;
    }
    if (id.empty()) {
        id.assign(kMid2IdChars, '0');
        result.success = false;
    }
    if (!elevated && !StartsWithRandomPrefix(id)) {
        id.replace(0, kPrefixChars, kNotElevatedPrefix);
    }
    const std::string head = id + TwoHexDigits(flags);
    result.value = head + TwoHexDigits(Crc8(head));
    return result;
}

std::wstring ComputeMid2(IMachineIdSources& sources)
{
    const bool elevated = sources.IsElevated();
    const std::optional<std::wstring> cached = ReadValidCache();
    if (cached && !elevated) {
        return *cached;
    }
    Mid2Hardware hardware = Collect(sources);
    std::optional<Mid2Composition> composed;
    if (!hardware.HasAddressOrDisk()) {
        if (cached && IsPlaceholderMid2(*cached)) {
            return *cached;
        }
    } else if (cached) {
        Mid2Composition fresh = ComposeMid2(hardware, elevated, sources);
        if (!fresh.success) {
            return *cached;
        }
        if (EqualsNoCase(FromUtf8(fresh.value), *cached)) {
            return *cached;
        }
        composed = fresh;
    }
    const bool bothRead = !hardware.address.empty() && !hardware.disk.empty();
    if (!bothRead) {
        sources.Wait(kRetryWaitMs);
        const Mid2Hardware again = CollectMissing(hardware, sources);
        if (again == hardware && composed) {
            return Store(composed->value, cached);
        }
        hardware = again;
    } else if (composed) {
        return Store(composed->value, cached);
    }
    return Settle(ComposeMid2(hardware, elevated, sources), cached);
}
