// The removal chain on real files of the prefix: locked and read-only files, links inside the trees,
// the restart-time clean-up and its batch file, path limits, and a tree of many files.
#include "EngineTestSupport.h"

#include "base/PathUtil.h"
#include "base/Registry.h"
#include "engine/BatchWriter.h"
#include "engine/DeleteTree.h"
#include "engine/InstallDirRemoval.h"
#include "engine/Leftovers.h"
#include "engine/MoveToTemp.h"
#include "engine/ProcessKiller.h"
#include "startup/WorkDirectory.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using enginetest::MakeDirectoryLink;

class RemovalChain : public testing::Test {
protected:
    void SetUp() override
    {
        const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        dir_ = wintest::MakeScratchDir(std::wstring(name.begin(), name.end()));
        outside_ = wintest::MakeScratchDir(L"outside-" + std::wstring(name.begin(), name.end()));
        wintest::WriteTextFile(PathJoin(outside_, L"profile\\keep.txt"), "the user's file");
    }

    std::wstring File(const std::wstring& relative, const char* text = "x")
    {
        const std::wstring path = PathJoin(dir_, relative);
        wintest::WriteTextFile(path, text);
        return path;
    }

    bool OutsideIntact() const { return FileExists(PathJoin(outside_, L"profile\\keep.txt")); }

    std::wstring dir_;
    std::wstring outside_;
    LeftoverList leftovers_;
};

TEST_F(RemovalChain, AReadOnlyFileGoesWithoutALeftover)
{
    const std::wstring path = File(L"readonly.dat");
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(DeleteFileOrQueue(path, leftovers_));
    EXPECT_FALSE(PathExists(path));
    EXPECT_TRUE(leftovers_.empty());
    EXPECT_TRUE(DeleteOrPending(File(L"second.dat")));
    EXPECT_TRUE(DeleteOrPending(PathJoin(dir_, L"never-there.dat")));
}

TEST_F(RemovalChain, ARunningProgramIsMovedAsideScheduledAndGoneAfterTheRestart)
{
    const std::wstring path = PathJoin(dir_, L"Utils\\kelvosrv.exe");
    wintest::CopyOrFail(enginetest::DemoFile(L"kelvosrv.exe"), path);
    enginetest::UseFreshJournal();
    UniqueHandle running = enginetest::StartProgram(path, L"");
    ASSERT_TRUE(enginetest::WaitForJournalLine(L"kelvosrv.exe\tmain"));
    EXPECT_TRUE(DeleteTreeTracked(dir_, leftovers_));
    ASSERT_EQ(leftovers_, (LeftoverList{path, PathJoin(dir_, L"Utils"), dir_}));

    DeleteFileW(wintest::LogPath().c_str());
    ASSERT_TRUE(ScheduleLeftovers(leftovers_, dir_));
    EXPECT_TRUE(leftovers_.empty());
    const std::wstring log = wintest::ReadLogText();
    const size_t cut = log.find(L"cut " + path + L" to ");
    ASSERT_NE(cut, std::wstring::npos) << testing::PrintToString(log);
    const size_t movedAt = cut + 8 + path.size();
    const std::wstring moved = log.substr(movedAt, log.find(L" success", movedAt) - movedAt);
    EXPECT_EQ(PathDirectory(moved), GetTempDirectory());
    EXPECT_TRUE(FileExists(moved));
    EXPECT_FALSE(PathExists(path));
    EXPECT_TRUE(wintest::IsScheduledForDeletion(moved));
    EXPECT_NE(log.find(L"write " + moved + L" to pending success"), std::wstring::npos);
    // Windows accepted every restart-time deletion: no batch file and no RunOnce value.
    EXPECT_EQ(log.find(L"runonce"), std::wstring::npos);
    // The emptied directories went at once.
    EXPECT_FALSE(PathExists(dir_));

    TerminateProcess(running.Get(), 0);
    WaitForSingleObject(running.Get(), 10000);
    enginetest::SimulateRestart();
    EXPECT_FALSE(PathExists(moved));
}

TEST_F(RemovalChain, LinksInsideATreeAreNeverEntered)
{
    File(L"data\\own.dat");
    ASSERT_TRUE(MakeDirectoryLink(PathJoin(dir_, L"data\\profile-link"), PathJoin(outside_, L"profile")));
    ASSERT_TRUE(MakeDirectoryLink(PathJoin(dir_, L"top-link"), outside_));
    int progress = 0;
    EXPECT_TRUE(DeleteTreeTracked(dir_, leftovers_, [&] { ++progress; }));
    EXPECT_EQ(progress, 1);
    EXPECT_FALSE(PathExists(PathJoin(dir_, L"data\\own.dat")));
    EXPECT_TRUE(OutsideIntact());

    EXPECT_TRUE(DeleteTreeForce(dir_));
    EXPECT_TRUE(OutsideIntact());
    File(L"cache\\old.tmp");
    EXPECT_TRUE(PurgeExtension(dir_, L".TMP"));
    EXPECT_FALSE(PathExists(PathJoin(dir_, L"cache\\old.tmp")));
    wintest::WriteTextFile(PathJoin(outside_, L"profile\\draft.tmp"), "the user's draft");
    EXPECT_TRUE(PurgeExtension(dir_, L".tmp"));
    EXPECT_TRUE(FileExists(PathJoin(outside_, L"profile\\draft.tmp")));
    EXPECT_TRUE(OutsideIntact());
}

TEST_F(RemovalChain, ALeftoverOnAnotherDriveGoesToThatDrivesHiddenTempFolder)
{
    const std::wstring driveDir = wintest::MakeScratchDir(L"drive-m");
    ASSERT_TRUE(enginetest::MapDrive(L'M', driveDir));
    const std::wstring path = L"M:\\Kelvo\\Utils\\kelvosrv.exe";
    wintest::CopyOrFail(enginetest::DemoFile(L"kelvosrv.exe"), path);
    enginetest::UseFreshJournal();
    UniqueHandle running = enginetest::StartProgram(path, L"");
    ASSERT_TRUE(enginetest::WaitForJournalLine(L"kelvosrv.exe\tmain"));
    LeftoverList leftovers = {path};
    DeleteFileW(wintest::LogPath().c_str());
    ASSERT_TRUE(ScheduleLeftovers(leftovers, L"M:\\Kelvo"));

    const DWORD attributes = GetFileAttributesW(L"M:\\.temp");
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    const std::vector<std::wstring> moved = wintest::ListFilesBelow(L"M:\\.temp");
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_TRUE(wintest::IsScheduledForDeletion(PathJoin(L"M:\\.temp", moved[0])));
    EXPECT_TRUE(wintest::IsScheduledForDeletion(L"M:\\.temp"));
    EXPECT_NE(wintest::ReadLogText().find(L"write M:\\.temp to pending success"), std::wstring::npos);
    EXPECT_FALSE(PathExists(path));
    TerminateProcess(running.Get(), 0);
    WaitForSingleObject(running.Get(), 10000);
}

TEST_F(RemovalChain, TreeOperationsRefuseEmptyAndOverlongPaths)
{
    std::wstring deep = dir_;
    while (deep.size() < MAX_PATH) {
        deep = PathJoin(deep, L"nested-directory");
    }
    for (const std::wstring& bad : {std::wstring(), deep}) {
        EXPECT_FALSE(DeleteTreeTracked(bad, leftovers_));
        EXPECT_FALSE(DeleteTreeForce(bad));
        EXPECT_FALSE(PurgeExtension(bad, L".tmp"));
        EXPECT_TRUE(leftovers_.empty());
    }
    const std::wstring kept = File(L"kept.dat");
    std::wstring moved;
    EXPECT_FALSE(MoveToTemp(L"", moved));
    EXPECT_FALSE(MoveToTemp(PathJoin(dir_, L"absent.dat"), moved));
    EXPECT_TRUE(FileExists(kept));
}

TEST_F(RemovalChain, ManyFilesAllGoAndEachCountsOnce)
{
    for (int d = 0; d < 20; ++d) {
        for (int f = 0; f < 15; ++f) {
            File(L"data\\d" + std::to_wstring(d) + L"\\f" + std::to_wstring(f) + L".dat");
        }
    }
    File(L"dovirad.exe");
    File(L"notes.txt", "the user's notes");
    auto config = enginetest::LoadShippedConfig();
    ASSERT_TRUE(config);
    int total = 0;
    int progress = 0;
    DeleteInstallDir(dir_, *config, leftovers_, total, [&] { ++progress; });
    EXPECT_EQ(total, 301);
    EXPECT_EQ(progress, 301);
    EXPECT_TRUE(leftovers_.empty());
    EXPECT_EQ(wintest::ListFilesBelow(dir_), std::vector<std::wstring>{L"notes.txt"});
}

TEST(BatchFile, HoldsCutLinesInTheTemporaryFolder)
{
    BatchWriter batch;
    EXPECT_FALSE(batch.Exists());
    ASSERT_TRUE(batch.WriteLine("del /q \"%s\" \r\n", L"C:\\A\\b.dat"));
    ASSERT_TRUE(batch.WriteLine("rd /s /q \"%s\" \r\n", std::wstring(600, L'x')));
    const std::wstring path = FromAnsiPath(batch.Path());
    EXPECT_EQ(PathDirectory(path), GetTempDirectory());
    EXPECT_EQ(PathFileName(path).substr(0, 3), L"vtm");
    EXPECT_EQ(path.substr(path.size() - 4), L".bat");
    batch.Close();
    const std::string text = wintest::ReadFileBytes(path);
    const std::string first = "del /q \"C:\\A\\b.dat\" \r\n";
    ASSERT_EQ(text.size(), first.size() + BatchWriter::kMaxLineChars);
    EXPECT_EQ(text.substr(0, first.size()), first);
    EXPECT_EQ(text.substr(first.size(), 11), "rd /s /q \"x");
    DeleteFileW(path.c_str());
}

struct BelowCase {
    const wchar_t* image;
    const wchar_t* dir;
    bool below;
};

TEST(ProcessPaths, AProcessIsBelowTheDirectoryOnlyAfterABackslash)
{
    const BelowCase cases[] = {
        {L"C:\\A\\KELVO\\DOVIRAD.EXE", L"C:\\A\\KELVO", true},
        {L"C:\\A\\KELVO\\UTILS\\RUNDLL.EXE", L"C:\\A\\KELVO\\", true},
        {L"C:\\A\\KELVOTOOLS\\TOOL.EXE", L"C:\\A\\KELVO", false},
        {L"C:\\A\\KELVO", L"C:\\A\\KELVO", false},
        {L"C:\\B\\KELVO\\DOVIRAD.EXE", L"C:\\A\\KELVO", false},
        {L"C:\\A\\KELVO\\DOVIRAD.EXE", L"", false},
    };
    for (const BelowCase& c : cases) {
        EXPECT_EQ(IsBelowDirectory(c.image, c.dir), c.below) << testing::PrintToString(std::wstring(c.image));
    }
}

struct WorkDirCase {
    const wchar_t* dir;  // relative to the temporary directory when not absolute
    bool removable;
};

TEST(WorkDirectory, OnlyAFirstLaunchsGuidDirectoryInTheTemporaryFolderCounts)
{
    const std::wstring temp = GetTempDirectory();
    const WorkDirCase cases[] = {
        {L"{0A1B2C3D-4E5F-6a7b-8C9D-0E1F2A3B4C5D}.tmp", true},
        {L"{0a1b2c3d-4e5f-6a7b-8c9d-0e1f2a3b4c5d}.TMP", true},
        {L"{0A1B2C3D-4E5F-6a7b-8C9D-0E1F2A3B4C5}.tmp", false},
        {L"{0A1B2C3D-4E5F-6a7b-8C9D-0E1F2A3B4C5D}.tmpx", false},
        {L"{0A1B2C3D-4E5F-6a7b-8C9D-0E1F2A3B4C5G}.tmp", false},
        {L"test-work", false},
        {L"sub\\{0A1B2C3D-4E5F-6a7b-8C9D-0E1F2A3B4C5D}.tmp", false},
        {L"C:\\Program Files\\Kelvo Papyr", false},
        {L"C:\\{0A1B2C3D-4E5F-6a7b-8C9D-0E1F2A3B4C5D}.tmp", false},
    };
    for (const WorkDirCase& c : cases) {
        const std::wstring dir = c.dir[1] == L':' ? c.dir : PathJoin(temp, c.dir);
        EXPECT_EQ(IsFirstLaunchWorkDir(dir), c.removable) << testing::PrintToString(dir);
    }
}

}  // namespace
