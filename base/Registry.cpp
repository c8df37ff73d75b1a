#include "base/Registry.h"

#include <vector>

UniqueHKey OpenRegKey(HKEY root, const std::wstring& subKey, REGSAM access)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, access, &key) != ERROR_SUCCESS) {
        return UniqueHKey();
    }
    return UniqueHKey(key);
}

std::optional<std::wstring> RegReadString(HKEY root, const std::wstring& subKey, const std::wstring& name,
                                          size_t maxChars, REGSAM view)
{
    UniqueHKey key = OpenRegKey(root, subKey, KEY_QUERY_VALUE | view);
    if (!key) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring text(buffer.data());
    if (maxChars > 0 && text.size() >= maxChars) {
        text.resize(maxChars - 1);
    }
    return text;
}

bool RegWriteStringNoTerminator(HKEY root, const std::wstring& subKey, const std::wstring& name,
                                const std::wstring& value, REGSAM view)
{
    HKEY created = nullptr;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &created, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    UniqueHKey key(created);
    return RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RegDeleteValueOf(HKEY root, const std::wstring& subKey, const std::wstring& name, REGSAM view)
{
    UniqueHKey key = OpenRegKey(root, subKey, KEY_SET_VALUE | view);
    return key && RegDeleteValueW(key.Get(), name.c_str()) == ERROR_SUCCESS;
}
