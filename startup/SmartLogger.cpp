#include "startup/SmartLogger.h"

#include "base/PathUtil.h"
#include "base/ScopedHandle.h"
#include "engine/UninstallTask.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

// Lines queued beyond this count are written without waiting for the end of the call.
constexpr size_t kQueueFlushThreshold = 100;

std::wstring TimeStamp()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[32];
    _snwprintf(text, 32, L"%04d-%02d-%02d %02d:%02d:%02d ", now.wYear, now.wMonth, now.wDay, now.wHour,
               now.wMinute, now.wSecond);
    text[31] = L'\0';
    return text;
}

unsigned long long ExistingFileSize(const std::wstring& path)
{
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size)) {
        return 0;
    }
    return static_cast<unsigned long long>(size.QuadPart);
}

CSmartLogger g_logger;

}  // namespace

CSmartLogger::CSmartLogger() = default;

CSmartLogger::~CSmartLogger()
{
    _BaseModule::CAutoLocker guard(lock_);
    queue_.clear();
}

void CSmartLogger::SetPath(const std::wstring& path)
{
    {
        _BaseModule::CAutoLocker guard(lock_);
        path_ = path;
    }
    if (FileExists(path) && ExistingFileSize(path) > kMaxFileSize) {
        DeleteFileW(path.c_str());
    }
}

bool CSmartLogger::FormatMessageText(wchar_t (&buffer)[kMaxMessage + 1], const wchar_t* format, va_list args)
{
    if (format == nullptr) {
        return false;
    }
    const int written = _vsnwprintf(buffer, kMaxMessage, format, args);
    if (written < 0 || static_cast<size_t>(written) > kMaxMessage) {
        return false;
    }
    buffer[written] = L'\0';
    return true;
}

void CSmartLogger::LogV(const wchar_t* format, va_list args)
{
    wchar_t buffer[kMaxMessage + 1];
    if (!FormatMessageText(buffer, format, args)) {
        return;
    }
    Append(buffer);
    WriteQueue();
}

void CSmartLogger::Append(const std::wstring& message)
{
    std::wstring line = TimeStamp() + message;
    if (!message.empty() && message.back() != L'\n') {
        line += L'\n';
    }
    _BaseModule::CAutoLocker guard(lock_);
    queue_.push_back(std::move(line));
    if (queue_.size() > kQueueFlushThreshold) {
        WriteQueue();
    }
}

bool CSmartLogger::WriteQueue()
{
    _BaseModule::CAutoLocker guard(lock_);
    if (path_.empty()) {
        return false;
    }
    bool written = false;
    if (CreateDirectoryTree(PathDirectory(path_))) {
        if (FILE* file = _wfopen(path_.c_str(), L"at")) {
            if (firstWrite_) {
                fputws((L"\r\n================== Start Log:" + TimeStamp() + L" ==================\n").c_str(), file);
                firstWrite_ = false;
            }
            for (const std::wstring& line : queue_) {
                fputws(line.c_str(), file);
            }
            fflush(file);
            fclose(file);
            written = true;
        }
    }
    queue_.clear();
    return written;
}

CSmartLogger& Logger() { return g_logger; }

void Log(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    g_logger.LogV(format, args);
    va_end(args);
}

void TaskLog(const wchar_t* format, ...)
{
    wchar_t buffer[CSmartLogger::kMaxMessage + 1];
    va_list args;
    va_start(args, format);
    const bool formatted = CSmartLogger::FormatMessageText(buffer, format, args);
    va_end(args);
    if (formatted) {
        UninstallTask().WriteLog(buffer);
    }
}
