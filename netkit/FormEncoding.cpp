#include "netkit/FormEncoding.h"

#include <windows.h>

#include <cwchar>

namespace {

bool IsUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

}  // namespace

std::string FormEscape(const std::string& bytes)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (IsUnreserved(c)) {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::string EncodeForm(const FormFields& fields)
{
    std::string body;
    for (const auto& field : fields) {
        if (!body.empty()) {
            body += '&';
        }
        body += FormEscape(field.first) + '=' + FormEscape(field.second);
    }
    return body;
}

std::string WideToUtf8(const wchar_t* text)
{
    const int length = static_cast<int>(wcslen(text));
    if (length == 0) {
        return std::string();
    }
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], bytes, nullptr, nullptr);
    return out;
}
