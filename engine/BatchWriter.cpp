#include "engine/BatchWriter.h"

#include "startup/SmartLogger.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr char kNamePrefix[] = "vtm";

}  // namespace

std::string ToAnsiPath(const std::wstring& path)
{
    if (path.empty()) {
        return std::string();
    }
    const int size = WideCharToMultiByte(CP_THREAD_ACP, 0, path.c_str(), static_cast<int>(path.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string text(size > 0 ? size : 0, '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_THREAD_ACP, 0, path.c_str(), static_cast<int>(path.size()), &text[0], size, nullptr,
                            nullptr);
    }
    return text;
}

std::wstring FromAnsiPath(const std::string& path)
{
    if (path.empty()) {
        return std::wstring();
    }
    const int size = MultiByteToWideChar(CP_THREAD_ACP, 0, path.c_str(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring text(size > 0 ? size : 0, L'\0');
    if (size > 0) {
        MultiByteToWideChar(CP_THREAD_ACP, 0, path.c_str(), static_cast<int>(path.size()), &text[0], size);
    }
    return text;
}

bool BatchWriter::Create()
{
    char tempDir[MAX_PATH] = {};
    char name[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, tempDir);
    if (length == 0 || length >= MAX_PATH || GetTempFileNameA(tempDir, kNamePrefix, 0, name) == 0) {
        Log(L"create runonce bat failed, error=%d", static_cast<int>(GetLastError()));
        return false;
    }
    DeleteFileA(name);
    std::string path = name;
    const size_t dot = path.rfind('.');
    path = (dot == std::string::npos ? path : path.substr(0, dot)) + ".bat";
    DeleteFileA(path.c_str());
    file_.Reset(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
        Log(L"create runonce bat failed, error=%d", static_cast<int>(GetLastError()));
        return false;
    }
    path_ = path;
    return true;
}

bool BatchWriter::WriteLine(const char* format, const std::wstring& path)
{
    if (!file_ && !Create()) {
        return false;
    }
    char line[kMaxLineChars + 1];
    const int length = std::snprintf(line, sizeof(line), format, ToAnsiPath(path).c_str());
    if (length < 0) {
        return false;
    }
    const DWORD bytes = static_cast<DWORD>(length > static_cast<int>(kMaxLineChars) ? kMaxLineChars : length);
    DWORD written = 0;
    return WriteFile(file_.Get(), line, bytes, &written, nullptr) && written == bytes;
}
