#include "engine/RunProgram.h"

#include "base/PathUtil.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RunProgramTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = wintest::MakeScratchDir(L"run program");
        journal_ = PathJoin(dir_, L"journal.txt");
        SetEnvironmentVariableW(L"PROBE_JOURNAL", journal_.c_str());
        signed_ = PathJoin(dir_, L"signed probe.exe");
        unsigned_ = PathJoin(dir_, L"unsigned.exe");
        wintest::CopyOrFail(wintest::BinFile(L"probe.exe"), signed_);
        wintest::CopyOrFail(wintest::BinFile(L"probe_unsigned.exe"), unsigned_);
    }
    void TearDown() override { SetEnvironmentVariableW(L"PROBE_JOURNAL", nullptr); }

    std::wstring Journal() const
    {
        const std::string bytes = wintest::ReadFileBytes(journal_);
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    }

    std::wstring dir_, journal_, signed_, unsigned_;
};

TEST_F(RunProgramTest, RefusesPathsThatCannotBeStarted)
{
    const std::wstring longPath = PathJoin(dir_, std::wstring(260, L'x'));
    const std::wstring missing = PathJoin(dir_, L"missing.exe");
    for (const wchar_t* path : {static_cast<const wchar_t*>(nullptr), L"", longPath.c_str(), missing.c_str()}) {
        DWORD code = 12345;
        EXPECT_FALSE(RunProgram(path, L"", SW_SHOWNORMAL, false, true, &code, 5000));
        EXPECT_EQ(code, 12345u);
    }
}

TEST_F(RunProgramTest, WaitsAndHandsBackTheExitCodeAndTheParametersArriveAfterTheQuotedPath)
{
    DWORD code = 0;
    ASSERT_TRUE(RunProgram(signed_.c_str(), L"--exit=7  /READYUNINSTALL", SW_SHOWNORMAL, true, true, &code, 30000));
    EXPECT_EQ(code, 7u);
    EXPECT_NE(Journal().find(L"cmdline=\"" + signed_ + L"\" --exit=7  /READYUNINSTALL\n"), std::wstring::npos)
        << testing::PrintToString(Journal());
}

TEST_F(RunProgramTest, AnExitCodeOfAProgramStillRunningIsStillActive)
{
    DWORD code = 0;
    ASSERT_TRUE(RunProgram(signed_.c_str(), L"--sleep=3000", SW_SHOWNORMAL, false, true, &code, 100));
    EXPECT_EQ(code, STILL_ACTIVE);
    wintest::WaitForProcessesUnder(dir_, 10000);
}

TEST_F(RunProgramTest, VerificationRefusesAnUnsignedProgramThatRunsWithoutIt)
{
    EXPECT_FALSE(RunProgram(unsigned_.c_str(), L"", SW_SHOWNORMAL, true, true, nullptr, 30000));
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(RunProgram(unsigned_.c_str(), L"", SW_SHOWNORMAL, false, true, nullptr, 30000));
    EXPECT_NE(Journal().find(L"done\n"), std::wstring::npos);
}

}  // namespace
