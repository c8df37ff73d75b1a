// The batch file that a RunOnce entry runs at the next log-on, for what Windows refused to delete
// at restart. Created on its first line in the temporary folder; paths in it are ANSI text.
#pragma once

#include "base/ScopedHandle.h"

#include <string>

class BatchWriter {
public:
    // Longest line in characters; longer lines are cut.
    static constexpr size_t kMaxLineChars = 519;

    BatchWriter() = default;
    BatchWriter(const BatchWriter&) = delete;
    BatchWriter& operator=(const BatchWriter&) = delete;

    // Formats one line around path (converted to the thread's ANSI code page) with a printf format
    // holding one "%s", creating the file first; false when it cannot be created or written.
    bool WriteLine(const char* format, const std::wstring& path);

    // True once the file was created.
    bool Exists() const { return file_.IsValid(); }
    // The file's full path (ANSI), empty before the first line.
    const std::string& Path() const { return path_; }
    void Close() { file_.Reset(); }

private:
    bool Create();

    UniqueHandle file_;
    std::string path_;
};

// The path in the thread's ANSI code page.
std::string ToAnsiPath(const std::wstring& path);
std::wstring FromAnsiPath(const std::string& path);
