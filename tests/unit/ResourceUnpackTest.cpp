#include "config/ResourceUnpack.h"

#include "base/PathUtil.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using wintest::BinFile;

std::wstring Fixture(const std::wstring& name) { return PathJoin(BinFile(L"fixtures"), name); }

// The library handle is process-wide: once loaded, later calls keep it whatever path they name.
TEST(ArchiveLibrary, LoadsOnceAndKeepsTheFirstLibrary)
{
    ASSERT_TRUE(Load7z(BinFile(L"7z.dll")));
    EXPECT_TRUE(Load7z(BinFile(L"no such 7z.dll")));
}

TEST(Extract7z, ExtractsSubDirectoriesAndFilesBelowTheTarget)
{
    ASSERT_TRUE(Load7z(BinFile(L"7z.dll")));
    const std::wstring target = PathJoin(wintest::MakeScratchDir(L"extract"), L"not yet\\made");
    ASSERT_EQ(Extract7z(Fixture(L"nested.7z"), target, nullptr), 0);
    EXPECT_EQ(wintest::ListFilesBelow(target), (std::vector<std::wstring>{L"root.txt", L"sub\\deeper\\nested.txt"}));
    EXPECT_TRUE(DirectoryExists(PathJoin(target, L"empty")));
    EXPECT_EQ(wintest::ReadFileBytes(PathJoin(target, L"sub\\deeper\\nested.txt")), "nested file\n");
}

TEST(Extract7z, AnExistingFileOfAnItemsNameIsReplaced)
{
    ASSERT_TRUE(Load7z(BinFile(L"7z.dll")));
    const std::wstring target = wintest::MakeScratchDir(L"replace");
    wintest::WriteTextFile(PathJoin(target, L"root.txt"), "old and longer content");
    SetFileAttributesW(PathJoin(target, L"root.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(Extract7z(Fixture(L"nested.7z"), target, nullptr), 0);
    EXPECT_EQ(wintest::ReadFileBytes(PathJoin(target, L"root.txt")), "root file\n");
}

class DamagedArchives : public testing::TestWithParam<const wchar_t*> {};

TEST_P(DamagedArchives, FailToExtract)
{
    ASSERT_TRUE(Load7z(BinFile(L"7z.dll")));
    EXPECT_EQ(Extract7z(Fixture(GetParam()), wintest::MakeScratchDir(L"damaged"), nullptr), -1);
}

INSTANTIATE_TEST_SUITE_P(Archives, DamagedArchives,
                         testing::Values(L"encrypted.7z", L"truncated.7z", L"missing.7z"));

TEST(RemoveExtractedTree, RemovesNestedReadOnlyFilesAndTheDirectory)
{
    const std::wstring dir = wintest::MakeScratchDir(L"remove");
    wintest::WriteTextFile(PathJoin(dir, L"a\\b\\c.txt"), "c");
    wintest::WriteTextFile(PathJoin(dir, L"top.txt"), "t");
    SetFileAttributesW(PathJoin(dir, L"a\\b\\c.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(RemoveExtractedTree(dir));
    EXPECT_FALSE(PathExists(dir));
    EXPECT_FALSE(RemoveExtractedTree(dir));
}

TEST(RemoveExtractedTree, RefusesShortPathsAndReportsWhatItCouldNotDelete)
{
    EXPECT_FALSE(RemoveExtractedTree(L""));
    EXPECT_FALSE(RemoveExtractedTree(L"C:\\"));

    const std::wstring dir = wintest::MakeScratchDir(L"remove locked");
    const std::wstring locked = PathJoin(dir, L"locked.txt");
    wintest::WriteTextFile(locked, "in use");
    wintest::WriteTextFile(PathJoin(dir, L"free.txt"), "free");
    HANDLE holder = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(RemoveExtractedTree(dir));
    CloseHandle(holder);
    EXPECT_EQ(wintest::ListFilesBelow(dir), std::vector<std::wstring>{L"locked.txt"});
}

std::vector<std::wstring> TempEntries()
{
    std::vector<std::wstring> entries;
    ForEachDirectoryEntry(
        GetTempDirectory(), [&](const std::wstring& name, DWORD) { entries.push_back(name); }, L"*.tmp");
    return entries;
}

TEST(ResourceUnpack, UnpacksTheUninstallersOwnConfigurationIntoAFreshDirectory)
{
    ASSERT_TRUE(Load7z(BinFile(L"7z.dll")));
    HMODULE module = LoadLibraryExW(BinFile(L"Uninstall.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    const std::vector<std::wstring> before = TempEntries();

    CResourceUnpack unpack;
    ASSERT_TRUE(unpack.Init(module, 209, L"SETUPCONFIG"));
    std::wstring dir;
    ASSERT_TRUE(unpack.Unpack(dir));
    FreeLibrary(module);

    EXPECT_EQ(PathDirectory(dir), GetTempDirectory());
    EXPECT_EQ(wintest::ListFilesBelow(dir),
              (std::vector<std::wstring>{L"UninstallRootDirFileList.xml", L"papyr.vtmprj"}));
    for (const wchar_t* name : {L"papyr.vtmprj", L"UninstallRootDirFileList.xml"}) {
        EXPECT_EQ(wintest::ReadFileBytes(PathJoin(dir, name)).substr(0, 2), "\xFF\xFE") << name;
    }
    std::vector<std::wstring> after = TempEntries();
    EXPECT_EQ(after.size(), before.size() + 1) << "only the extracted directory is new";
    EXPECT_TRUE(RemoveExtractedTree(dir));
}

TEST(ResourceUnpack, AMissingResourceFailsInit)
{
    CResourceUnpack unpack;
    EXPECT_FALSE(unpack.Init(GetModuleHandleW(nullptr), 209, L"SETUPCONFIG"));
}

}  // namespace
