#include "engine/DllCall.h"

#include "base/PathUtil.h"
#include "base/ScopedHandle.h"
#include "engine/ProcessKiller.h"
#include "engine/RunProgram.h"
#include "startup/SmartLogger.h"
#include "trust/SignatureCheck.h"

#include <windows.h>

#include <vector>

namespace {

using OneArgumentExport = int(WINAPI*)(const wchar_t*);
using InterfaceExport = int(WINAPI*)(const wchar_t*, wchar_t*, int);

constexpr int kFirstBufferChars = MAX_PATH;
// A larger answer than this is taken for a faulty export: its first, cut text is kept.
constexpr int kMaxAnswerChars = 32768;

UniqueModule LoadHookDll(const std::wstring& path)
{
    return UniqueModule(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace

void CallExe(const std::wstring& path, const std::wstring& commandLine, bool verify, bool synchronous, unsigned waitMs)
{
    if (!PathExists(path)) {
        return;
    }
    KillProcessByPath(path.c_str());
    Log(L"call exe begin, path=[%s] cmd=[%s]", path.c_str(), commandLine.c_str());
    const bool started =
        RunProgram(path.c_str(), commandLine.c_str(), SW_SHOWNORMAL, verify, synchronous, nullptr, waitMs);
    Log(L"call exe return [%d], path=[%s], cmd=[%s], sync[%d]", started ? 1 : 0, path.c_str(), commandLine.c_str(),
        synchronous ? 1 : 0);
}

void CallDllExport(const std::wstring& path, const char* exportName, const std::wstring& argument, bool verify)
{
    if (verify && !VerifyMakerSignature(path.c_str())) {
        Log(L"file[%s] check sign fail.", path.c_str());
        return;
    }
    UniqueModule module = LoadHookDll(path);
    if (!module) {
        return;
    }
    auto function = reinterpret_cast<OneArgumentExport>(GetProcAddress(module.Get(), exportName));
    if (function == nullptr) {
        return;
    }
    Log(L"call dll func start, path=[%s]", path.c_str());
    function(argument.c_str());
    Log(L"call dll fun end, path=[%s]", path.c_str());
}

std::wstring CallDllInterfaceEx(const wchar_t* path, const char* exportName, const std::wstring& parameter,
                                bool verify)
{
    Log(L"Call Dll Interface Ex ,path=[%s]", path != nullptr ? path : L"(null)");
    if (path == nullptr) {
        return std::wstring();
    }
    if (verify && !VerifyMakerSignature(path)) {
        Log(L"file[%s] check sign fail", path);
        return std::wstring();
    }
    UniqueModule module = LoadHookDll(path);
    if (!module) {
        return std::wstring();
    }
    auto function = reinterpret_cast<InterfaceExport>(GetProcAddress(module.Get(), exportName));
    if (function == nullptr) {
        return std::wstring();
    }
    Log(L"call dll func start, path=[%s]", path);
    // One character beyond the capacity stays zero, so that an export that fills its room is still read safely.
    std::vector<wchar_t> buffer(kFirstBufferChars + 1, L'\0');
    const int needed = function(parameter.c_str(), buffer.data(), kFirstBufferChars);
    std::wstring text = buffer.data();
    if (needed > kMaxAnswerChars) {
        Log(L"answer of %d characters refused, path=[%s]", needed, path);
    } else if (needed > 0) {
        std::vector<wchar_t> larger(static_cast<size_t>(needed) + 2, L'\0');
        function(parameter.c_str(), larger.data(), needed + 1);
        text = larger.data();
    }
    Log(L"call dll fun end, path=[%s]", path);
    return text;
}
