#include "base/PathUtil.h"

#include "base/ScopedHandle.h"

#include <shlobj.h>

#include <vector>

std::wstring PathJoin(const std::wstring& dir, const std::wstring& rest)
{
    if (dir.empty()) {
        return rest;
    }
    std::wstring joined = dir;
    const bool dirSlash = joined.back() == L'\\' || joined.back() == L'/';
    const bool restSlash = !rest.empty() && (rest.front() == L'\\' || rest.front() == L'/');
    if (dirSlash && restSlash) {
        joined.pop_back();
    } else if (!dirSlash && !restSlash) {
        joined += L'\\';
    }
    return joined + rest;
}

std::wstring PathDirectory(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring PathFileName(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

static DWORD Attributes(const std::wstring& path)
{
    return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::wstring& path)
{
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PathExists(const std::wstring& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

std::wstring GetModulePath(HMODULE module)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < buffer.size()) {
            return std::wstring(buffer.data(), length);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring GetModuleDirectory(HMODULE module) { return PathDirectory(GetModulePath(module)); }

std::wstring GetTempDirectory(DWORD maxChars)
{
    std::vector<wchar_t> buffer(maxChars + 1, L'\0');
    const DWORD length = GetTempPathW(maxChars, buffer.data());
    if (length == 0 || length > maxChars) {
        return std::wstring();
    }
    std::wstring dir(buffer.data(), length);
    while (!dir.empty() && dir.back() == L'\\') {
        dir.pop_back();
    }
    return dir;
}

bool CreateDirectoryTree(const std::wstring& path)
{
    if (path.empty()) {
        return false;
    }
    if (!DirectoryExists(path)) {
        SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    }
    return DirectoryExists(path);
}

void ForEachDirectoryEntry(const std::wstring& dir, const std::function<void(const std::wstring&, DWORD)>& visit,
                           const wchar_t* pattern)
{
    WIN32_FIND_DATAW found;
    UniqueFindHandle find(FindFirstFileW(PathJoin(dir, pattern).c_str(), &found));
    if (!find) {
        return;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            visit(name, found.dwFileAttributes);
        }
    } while (FindNextFileW(find.Get(), &found));
}
