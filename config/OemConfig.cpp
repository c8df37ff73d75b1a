#include "config/OemConfig.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "base/StringUtil.h"
#include "config/ProductConstants.h"
#include "crypto/StringCipher.h"

#include <windows.h>

#include <vector>

namespace {

constexpr wchar_t kOemEnabled[] = L"1";
constexpr wchar_t kSchemeEnd[] = L"://";
// Longest "oem_f" data read, in characters with the terminator.
constexpr DWORD kFlagMaxChars = MAX_PATH;

// Registry string data that ends with its terminating zero (or is empty): the text before the terminator.
bool TerminatedText(DWORD type, const wchar_t* data, DWORD bytes, std::wstring& text)
{
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || bytes % sizeof(wchar_t) != 0) {
        return false;
    }
    const size_t chars = bytes / sizeof(wchar_t);
    if (chars > 0 && data[chars - 1] != L'\0') {
        return false;
    }
    text.assign(data, chars > 0 ? chars - 1 : 0);
    return true;
}

bool ReadOemFlag()
{
    UniqueHKey key = OpenRegKey(HKEY_LOCAL_MACHINE, product::kAppPathsKey, KEY_READ | KEY_WOW64_32KEY);
    if (!key) {
        return false;
    }
    wchar_t data[kFlagMaxChars] = {};
    DWORD bytes = sizeof(data);
    DWORD type = 0;
    if (RegQueryValueExW(key.Get(), product::kOemFlagValue, nullptr, &type, reinterpret_cast<BYTE*>(data),
                         &bytes) != ERROR_SUCCESS) {
        return false;
    }
    std::wstring flag;
    return bytes > 0 && TerminatedText(type, data, bytes, flag) && EqualsNoCase(flag, kOemEnabled);
}

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to)
{
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace

bool COemConfig::Init(const std::wstring& productCode)
{
    productCode_ = productCode;
    if (productCode != product::kOemProductCode) {
        return false;
    }
    keyPath_ = PathJoin(product::kAppPathsKey, product::kOemConfigSubKey);
    enabled_ = ReadOemFlag();
    if (enabled_) {
        LoadValues();
    }
    return true;
}

void COemConfig::LoadValues()
{
    UniqueHKey key = OpenRegKey(HKEY_LOCAL_MACHINE, keyPath_, KEY_READ | KEY_WOW64_32KEY);
    if (!key) {
        return;
    }
    DWORD maxNameChars = 0;
    DWORD maxDataBytes = 0;
    if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxNameChars,
                         &maxDataBytes, nullptr, nullptr) != ERROR_SUCCESS) {
        return;
    }
    std::vector<wchar_t> name(maxNameChars + 1);
    std::vector<wchar_t> data(maxDataBytes / sizeof(wchar_t) + 1);
    for (DWORD index = 0;; ++index) {
        DWORD nameChars = static_cast<DWORD>(name.size());
        DWORD bytes = maxDataBytes;
        DWORD type = 0;
        if (RegEnumValueW(key.Get(), index, name.data(), &nameChars, nullptr, &type,
                          reinterpret_cast<BYTE*>(data.data()), &bytes) != ERROR_SUCCESS) {
            return;
        }
        std::wstring text;
        if (!TerminatedText(type, data.data(), bytes, text)) {
            continue;
        }
        const std::wstring plainName = DecryptString(std::wstring(name.data(), nameChars), product::kOemKey);
        const std::wstring plainValue = DecryptString(text, product::kOemKey);
        if (!plainName.empty() && !plainValue.empty()) {
            values_[plainName] = plainValue;
        }
    }
}

std::wstring COemConfig::ApplyToUrl(const std::wstring& serviceName, const std::wstring& url) const
{
    if (!enabled_) {
        return url;
    }
    const auto found = values_.find(serviceName);
    if (found == values_.end()) {
        return url;
    }
    const size_t schemeEnd = url.find(kSchemeEnd);
    if (schemeEnd == std::wstring::npos) {
        return url;
    }
    const size_t hostStart = schemeEnd + wcslen(kSchemeEnd);
    const size_t hostEnd = url.find(L'/', hostStart);
    if (hostEnd == std::wstring::npos || hostEnd == hostStart) {
        return url;
    }
    return ReplaceAll(url, url.substr(hostStart, hostEnd - hostStart), found->second);
}
