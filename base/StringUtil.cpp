#include "base/StringUtil.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <vector>

std::wstring Trim(const std::wstring& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && iswspace(text[begin])) {
        ++begin;
    }
    while (end > begin && iswspace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::wstring ToUpper(const std::wstring& text)
{
    std::wstring upper = text;
    for (wchar_t& c : upper) {
        c = static_cast<wchar_t>(towupper(c));
    }
    return upper;
}

bool EqualsNoCase(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && _wcsicmp(a.c_str(), b.c_str()) == 0;
}

std::wstring FormatStringV(const wchar_t* format, va_list args)
{
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        const int written = _vsnwprintf(buffer.data(), buffer.size(), format, copy);
        va_end(copy);
        if (written >= 0 && static_cast<size_t>(written) < buffer.size()) {
            return std::wstring(buffer.data(), written);
        }
        if (buffer.size() > (1u << 24)) {
            return std::wstring();
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring FormatString(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = FormatStringV(format, args);
    va_end(args);
    return text;
}

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty()) {
        return std::string();
    }
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, &utf8[0], size, nullptr, nullptr);
    return utf8;
}

std::wstring FromUtf8(const std::string& text)
{
    if (text.empty()) {
        return std::wstring();
    }
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, &wide[0], size);
    return wide;
}

std::string ToLowerHex(const unsigned char* bytes, size_t count)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * count);
    for (size_t i = 0; i < count; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 0x0f];
    }
    return hex;
}

std::string TrimBlanks(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
