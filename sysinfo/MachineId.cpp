#include "sysinfo/MachineId.h"

#include "base/ScopedHandle.h"
#include "sysinfo/MachineIdNames.h"
#include "sysinfo/MachineIdSources.h"
#include "sysinfo/MidHash.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace {

constexpr char kNothingRead[] = "Mid2Failed";
constexpr DWORD kMaxCacheBytes = 1024;

UniqueHKey OpenMidKey(REGSAM access, bool create)
{
    HKEY key = nullptr;
    const LONG result =
        create ? RegCreateKeyExW(HKEY_LOCAL_MACHINE, machine_id::kMidKey, 0, nullptr, 0, access, nullptr, &key, nullptr)
               : RegOpenKeyExW(HKEY_LOCAL_MACHINE, machine_id::kMidKey, 0, access, &key);
    return UniqueHKey(result == ERROR_SUCCESS ? key : nullptr);
}

std::optional<std::string> ReadCachedMid()
{
    UniqueHKey key = OpenMidKey(KEY_QUERY_VALUE, false);
    if (!key) {
        return std::nullopt;
    }
    std::vector<char> data(kMaxCacheBytes + 1, '\0');
    DWORD type = 0;
    DWORD size = kMaxCacheBytes;
    if (RegQueryValueExA(key.Get(), machine_id::kMidValue, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    return std::string(data.data());
}

bool IsHexNoCaseEqual(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

void WriteAnsi(HKEY key, const char* name, const std::string& value)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

void StoreMid(const std::optional<std::string>& previous, const std::string& id)
{
    UniqueHKey key = OpenMidKey(KEY_SET_VALUE, true);
    if (!key) {
        return;
    }
    const std::string stored = id + MidHash(id);
    if (previous && *previous != stored) {
        WriteAnsi(key.Get(), machine_id::kMidOldValue, *previous);
    }
    WriteAnsi(key.Get(), machine_id::kMidValue, stored);
}

}  // namespace

std::string ComputeMid(IMachineIdSources& sources)
{
    const std::optional<std::string> cached = ReadCachedMid();
    if (cached && cached->size() == 2 * kMidChars &&
        IsHexNoCaseEqual(cached->substr(kMidChars), MidHash(cached->substr(0, kMidChars)))) {
        return cached->substr(0, kMidChars);
    }
    const std::string source =
        sources.ProcessorTextForMid() + sources.DiskIdForMid() + sources.NetworkAddressForMid();
    if (source.empty()) {
        return MidHash(kNothingRead);
    }
    const std::string id = MidHash(source);
    StoreMid(cached, id);
    return id;
}

void GetMid(char* buffer, int capacity)
{
    if (buffer == nullptr || capacity <= 0) {
        return;
    }
    lstrcpynA(buffer, ComputeMid(HardwareSources()).c_str(), capacity);
}

bool GetMidW(wchar_t* buffer, int capacity)
{
    if (buffer == nullptr || capacity <= 0) {
        return false;
    }
    const std::string mid = ComputeMid(HardwareSources());
    wchar_t wide[kMidChars + 1] = {};
    if (MultiByteToWideChar(CP_THREAD_ACP, 0, mid.c_str(), -1, wide, kMidChars + 1) == 0) {
        return false;
    }
    lstrcpynW(buffer, wide, capacity);
    return true;
}
