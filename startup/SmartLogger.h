// The program's one log: time-stamped lines appended to a text file in the user's temporary directory.
#pragma once

#include "base/Locker.h"

#include <cstdarg>
#include <string>
#include <vector>

class CSmartLogger {
public:
    // Longest message, in characters, that is logged; longer ones are dropped whole.
    static constexpr size_t kMaxMessage = 511;
    // A log file larger than this at start is deleted.
    static constexpr unsigned long long kMaxFileSize = 1073741824ull;

    CSmartLogger();
    virtual ~CSmartLogger();
    CSmartLogger(const CSmartLogger&) = delete;
    CSmartLogger& operator=(const CSmartLogger&) = delete;

    // Stores the file path and deletes an existing file that is larger than the limit.
    void SetPath(const std::wstring& path);

    // Formats the message (at most 511 characters, else dropped), queues it with a time stamp and writes the queue.
    void LogV(const wchar_t* format, va_list args);

    // Formats into buffer with the log's limit; false when the text does not fit or formatting fails.
    static bool FormatMessageText(wchar_t (&buffer)[kMaxMessage + 1], const wchar_t* format, va_list args);

private:
    void Append(const std::wstring& message);
    bool WriteQueue();

    _BaseModule::CCriticalSection lock_;
    std::vector<std::wstring> queue_;
    std::wstring path_;
    bool firstWrite_ = true;
};

// The process's logger, constructed before the entry point runs.
CSmartLogger& Logger();

// The program-wide logging call: wide printf rules, one time-stamped line per call.
void Log(const wchar_t* format, ...);

// Formats like Log and hands the finished text to the uninstall task, which logs it verbatim.
void TaskLog(const wchar_t* format, ...);
