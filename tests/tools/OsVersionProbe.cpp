// Reports what the version checks answer in a process of its own, so that a test can give it another
// Windows version (Wine's per-program setting). It has no compatibility manifest. Writes, in ASCII, to the
// file named by its first argument: classic=<major>.<minor> (what the classic query says), state=<n>,
// version=<major>.<minor>.<build>, then file=<version text or "false"> per further argument.
#include "sysinfo/OSVersionCheck.h"

#include "base/ScopedHandle.h"
#include "base/StringUtil.h"

#include <windows.h>

#include <string>

namespace {

std::wstring ClassicVersion()
{
    OSVERSIONINFOW classic = {sizeof(classic)};
    GetVersionExW(&classic);
    return FormatString(L"classic=%lu.%lu\n", classic.dwMajorVersion, classic.dwMinorVersion);
}

std::wstring Report(int argc, wchar_t** argv)
{
    std::wstring report = ClassicVersion();
    const OSVERSIONINFOEXW& version = COSVersionCheck::Instance()->Version();
    report += FormatString(L"state=%d\nversion=%lu.%lu.%lu\n", COSVersionCheck::Instance()->State(),
                           version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber);
    for (int i = 2; i < argc; ++i) {
        std::wstring text;
        report += L"file=" + (GetFileVersionString(argv[i], text) ? text : std::wstring(L"false")) + L"\n";
    }
    return report;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        return 2;
    }
    const std::wstring report = Report(argc, argv);
    const std::string bytes(report.begin(), report.end());
    UniqueHandle file(CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) {
        return 1;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return ok && written == bytes.size() ? 0 : 1;
}
