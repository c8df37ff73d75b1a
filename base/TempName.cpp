#include "base/TempName.h"

#include "base/PathUtil.h"

#include <windows.h>
#include <objbase.h>

#include <cwchar>

namespace {

constexpr int kNameAttempts = 10;
constexpr size_t kGuidTextChars = 128;

}  // namespace

std::wstring FormatTempGuid()
{
    GUID guid = {};
    CoCreateGuid(&guid);
    wchar_t text[kGuidTextChars + 1];
    const int length = _snwprintf(text, kGuidTextChars, L"{%08X-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                                  static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                                  guid.Data4[6], guid.Data4[7]);
    text[length < 0 ? 0 : length] = L'\0';
    return text;
}

std::wstring ChooseFreshTempPath(const std::wstring& dir)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::wstring candidate = PathJoin(dir, FormatTempGuid() + L".tmp");
        if (!PathExists(candidate)) {
            return candidate;
        }
    }
    return std::wstring();
}
