#include "engine/RunProgram.h"

#include "base/PathUtil.h"
#include "base/ScopedHandle.h"
#include "trust/SignatureCheck.h"

#include <shellapi.h>

#include <cwchar>

namespace {

constexpr size_t kMaxPathChars = MAX_PATH;
constexpr size_t kQuotedFileChars = 1022;

}  // namespace

bool RunProgram(const wchar_t* path, const wchar_t* parameters, int show, bool verify, bool wait,
                DWORD* exitCode, DWORD waitMs)
{
    if (path == nullptr || *path == L'\0' || wcslen(path) > kMaxPathChars || !PathExists(path)) {
        return false;
    }
    if (verify && !VerifyMakerSignature(path)) {
        return false;
    }

    wchar_t quoted[kQuotedFileChars + 1];
    const int length = _snwprintf(quoted, kQuotedFileChars, L"\"%s\"", path);
    if (length < 0) {
        return false;
    }
    quoted[length] = L'\0';

    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = quoted;
    info.lpParameters = parameters;
    info.nShow = show;
    const bool started = ShellExecuteExW(&info) != FALSE;
    UniqueHandle process(info.hProcess);

    if (started && wait && process) {
        WaitForSingleObject(process.Get(), waitMs);
    }
    if (exitCode != nullptr) {
        if (!started) {
            return false;
        }
        DWORD code = STILL_ACTIVE;
        if (process) {
            GetExitCodeProcess(process.Get(), &code);
        }
        *exitCode = code;
    }
    return started;
}
