#include "startup/SmartLogger.h"

#include "base/PathUtil.h"
#include "base/ScopedHandle.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr char kStamp[] = "\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2} ";

void LogTo(CSmartLogger& logger, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    logger.LogV(format, args);
    va_end(args);
}

// Byte pattern of the start-of-log header as it lands in the file.
std::string HeaderPattern()
{
    return std::string("\r\r\n================== Start Log:") + kStamp + " ==================\r\n";
}

std::string LinePattern(const std::string& message) { return kStamp + message + "\r\n"; }

bool Matches(const std::string& bytes, const std::string& pattern)
{
    return std::regex_match(bytes, std::regex(pattern));
}

class SmartLoggerTest : public testing::Test {
protected:
    void SetUp() override
    {
        _wsetlocale(LC_ALL, L"chs");
        dir_ = wintest::MakeScratchDir(L"logger");
        path_ = PathJoin(dir_, L"sub\\papyr_uninst.log");
    }
    void TearDown() override { _wsetlocale(LC_ALL, L"C"); }

    std::string Bytes() const { return wintest::ReadFileBytes(path_); }

    std::wstring dir_;
    std::wstring path_;
};

TEST_F(SmartLoggerTest, FirstLineOfAProcessFollowsTheHeaderSecondDoesNot)
{
    CSmartLogger logger;
    logger.SetPath(path_);
    LogTo(logger, L"delete %s failed, error=%d", L"C:\\a.txt", 5);
    EXPECT_TRUE(Matches(Bytes(), HeaderPattern() + LinePattern("delete C:\\\\a\\.txt failed, error=5"))) << Bytes();

    LogTo(logger, L"second\n");
    EXPECT_TRUE(Matches(Bytes(), HeaderPattern() + LinePattern("delete C:\\\\a\\.txt failed, error=5") +
                                     LinePattern("second")))
        << Bytes();
}

TEST_F(SmartLoggerTest, TextIsWrittenInTheChineseCodePageAndArgumentsLiterally)
{
    CSmartLogger logger;
    logger.SetPath(path_);
    LogTo(logger, L"%s", L"卸载 100%d");
    // 卸载 in code page 936, then the argument's "%d" untouched.
    EXPECT_TRUE(Matches(Bytes(), HeaderPattern() + LinePattern("\xD0\xB6\xD4\xD8 100%d"))) << Bytes();
}

TEST_F(SmartLoggerTest, MessagesOfMoreThan511CharactersAreDropped)
{
    CSmartLogger logger;
    logger.SetPath(path_);
    LogTo(logger, L"%s", std::wstring(512, L'b').c_str());
    EXPECT_FALSE(FileExists(path_));
    LogTo(logger, L"%s", std::wstring(511, L'a').c_str());
    EXPECT_TRUE(Matches(Bytes(), HeaderPattern() + LinePattern(std::string(511, 'a')))) << Bytes().size();
}

TEST_F(SmartLoggerTest, LinesBeforeThePathIsSetWaitInTheQueue)
{
    CSmartLogger logger;
    LogTo(logger, L"early");
    logger.SetPath(path_);
    LogTo(logger, L"late");
    EXPECT_TRUE(Matches(Bytes(), HeaderPattern() + LinePattern("early") + LinePattern("late"))) << Bytes();
}

TEST_F(SmartLoggerTest, LinesAreLostWhileAnotherProgramLocksTheFileAndTheHeaderComesLater)
{
    wintest::WriteTextFile(path_, "");
    CSmartLogger logger;
    logger.SetPath(path_);
    {
        UniqueHandle lock(CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        LogTo(logger, L"lost");
    }
    LogTo(logger, L"kept");
    EXPECT_TRUE(Matches(Bytes(), HeaderPattern() + LinePattern("kept"))) << Bytes();
}

// Makes a sparse file of the given size, so that a gigabyte costs no disk.
void MakeFileOfSize(const std::wstring& path, long long size)
{
    CreateDirectoryTree(PathDirectory(path));
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER at;
    at.QuadPart = size;
    ASSERT_TRUE(SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file.Get()));
}

long long SizeOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST_F(SmartLoggerTest, ALogOverOneGigabyteIsDeletedAtStartOneOfExactlyThatSizeIsKept)
{
    const long long limit = 1073741824ll;
    MakeFileOfSize(path_, limit + 1);
    {
        CSmartLogger logger;
        logger.SetPath(path_);
        EXPECT_FALSE(FileExists(path_));
        LogTo(logger, L"fresh");
        EXPECT_TRUE(Matches(Bytes(), HeaderPattern() + LinePattern("fresh"))) << Bytes();
    }
    MakeFileOfSize(path_, limit);
    CSmartLogger logger;
    logger.SetPath(path_);
    ASSERT_EQ(SizeOf(path_), limit);
    LogTo(logger, L"appended");
    EXPECT_GT(SizeOf(path_), limit);
}

TEST_F(SmartLoggerTest, ManyThreadsWriteWholeLines)
{
    CSmartLogger logger;
    logger.SetPath(path_);
    constexpr int kThreads = 4;
    constexpr int kLines = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&logger, t] {
            for (int i = 0; i < kLines; ++i) {
                LogTo(logger, L"thread %d line %d of the interleaving check", t, i);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    const std::string bytes = Bytes();
    const size_t bodyStart = bytes.find(" ==================\r\n") + 21;
    ASSERT_TRUE(Matches(bytes.substr(0, bodyStart), HeaderPattern()));
    const std::regex line(std::string(kStamp) + "thread \\d line \\d+ of the interleaving check");
    int count = 0;
    for (size_t at = bodyStart; at < bytes.size(); ++count) {
        const size_t end = bytes.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        EXPECT_TRUE(std::regex_match(bytes.substr(at, end - at), line)) << bytes.substr(at, end - at);
        at = end + 2;
    }
    EXPECT_EQ(count, kThreads * kLines);
}

}  // namespace
