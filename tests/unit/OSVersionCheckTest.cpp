#include "sysinfo/OSVersionCheck.h"

#include "base/PathUtil.h"
#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kUntouched[] = L"untouched";

OSVERSIONINFOEXW Record(DWORD major, DWORD minor, DWORD build)
{
    OSVERSIONINFOEXW record = {};
    record.dwOSVersionInfoSize = sizeof(record);
    record.dwMajorVersion = major;
    record.dwMinorVersion = minor;
    record.dwBuildNumber = build;
    return record;
}

VS_FIXEDFILEINFO FileInfo(WORD major, WORD minor, WORD build, WORD revision)
{
    VS_FIXEDFILEINFO info = {};
    info.dwSignature = VS_FFI_SIGNATURE;
    info.dwFileVersionMS = MAKELONG(minor, major);
    info.dwFileVersionLS = MAKELONG(revision, build);
    return info;
}

std::vector<char> VersionBlock(const std::wstring& path)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, block.data())) {
        block.clear();
    }
    return block;
}

std::wstring WindowsDirectory()
{
    wchar_t dir[MAX_PATH] = {};
    GetSystemWindowsDirectoryW(dir, MAX_PATH);
    return dir;
}

// --- Correcting the version record ---------------------------------------------------------------

TEST(ClassicVersion, IsFinalOnlyForWindows5UnderWow64)
{
    EXPECT_TRUE(osversion::KeepsClassicVersion(5, true));
    EXPECT_FALSE(osversion::KeepsClassicVersion(5, false));
    EXPECT_FALSE(osversion::KeepsClassicVersion(6, true));
}

TEST(NativeVersion, ReplacesTheWholeRecordOnlyWhenNewer)
{
    // Without a compatibility manifest the classic query says Windows 8 (6.2) on newer systems.
    OSVERSIONINFOEXW record = Record(6, 2, 9200);
    OSVERSIONINFOEXW native = Record(10, 0, 19045);
    native.wProductType = VER_NT_WORKSTATION;
    ASSERT_TRUE(osversion::TakeNewerNativeVersion(record, native));
    EXPECT_EQ(record.dwMajorVersion, 10u);
    EXPECT_EQ(record.dwBuildNumber, 19045u);
    EXPECT_EQ(record.wProductType, VER_NT_WORKSTATION);

    OSVERSIONINFOEXW same = Record(6, 1, 7601);
    EXPECT_FALSE(osversion::TakeNewerNativeVersion(same, Record(6, 1, 9999)));
    EXPECT_EQ(same.dwBuildNumber, 7601u);
    EXPECT_FALSE(osversion::TakeNewerNativeVersion(same, Record(6, 0, 6002)));
    EXPECT_EQ(same.dwMinorVersion, 1u);
}

struct FileCorrectionCase {
    DWORD recordMajor, recordMinor;
    WORD fileMajor, fileMinor, fileBuild;
    bool corrected;
    DWORD major, minor, build;  // the record afterwards
};

class KernelFileCorrection : public testing::TestWithParam<FileCorrectionCase> {};

TEST_P(KernelFileCorrection, TakesMajorMinorAndBuildOfANewerFile)
{
    const FileCorrectionCase& c = GetParam();
    OSVERSIONINFOEXW record = Record(c.recordMajor, c.recordMinor, 1111);
    record.wServicePackMajor = 3;
    EXPECT_EQ(osversion::TakeNewerFileVersion(record, FileInfo(c.fileMajor, c.fileMinor, c.fileBuild, 4321)),
              c.corrected);
    EXPECT_EQ(record.dwMajorVersion, c.major);
    EXPECT_EQ(record.dwMinorVersion, c.minor);
    EXPECT_EQ(record.dwBuildNumber, c.build);
    EXPECT_EQ(record.wServicePackMajor, 3);
}

INSTANTIATE_TEST_SUITE_P(Versions, KernelFileCorrection,
                         testing::Values(FileCorrectionCase{6, 2, 10, 0, 22621, true, 10, 0, 22621},
                                         FileCorrectionCase{6, 2, 6, 3, 9600, true, 6, 3, 9600},
                                         FileCorrectionCase{5, 1, 6, 1, 7601, true, 6, 1, 7601},
                                         FileCorrectionCase{6, 1, 6, 1, 7601, false, 6, 1, 1111},
                                         FileCorrectionCase{10, 0, 6, 3, 9600, false, 10, 0, 1111}));

TEST(KernelFile, A32BitProcessOn64BitWindowsReadsItThroughSysNative)
{
    EXPECT_EQ(osversion::KernelFilePath(L"C:\\Windows", true), L"C:\\Windows\\SysNative\\ntoskrnl.exe");
    EXPECT_EQ(osversion::KernelFilePath(L"C:\\Windows\\", false), L"C:\\Windows\\System32\\ntoskrnl.exe");
}

// --- Architecture and Windows 10 ------------------------------------------------------------------

struct ArchitectureCase {
    WORD architecture;
    std::optional<USHORT> nativeMachine;
    bool is64Bit;
};

class Architecture : public testing::TestWithParam<ArchitectureCase> {};

TEST_P(Architecture, Decides64BitWindows)
{
    EXPECT_EQ(osversion::Is64BitSystem(GetParam().architecture, GetParam().nativeMachine), GetParam().is64Bit);
}

INSTANTIATE_TEST_SUITE_P(
    Machines, Architecture,
    testing::Values(ArchitectureCase{PROCESSOR_ARCHITECTURE_AMD64, std::nullopt, true},
                    ArchitectureCase{PROCESSOR_ARCHITECTURE_IA64, std::nullopt, true},
                    ArchitectureCase{PROCESSOR_ARCHITECTURE_ARM64, std::nullopt, true},
                    // An x86 process on ARM64 sees the emulated x86 architecture; the native machine tells.
                    ArchitectureCase{PROCESSOR_ARCHITECTURE_INTEL, IMAGE_FILE_MACHINE_ARM64, true},
                    ArchitectureCase{PROCESSOR_ARCHITECTURE_INTEL, IMAGE_FILE_MACHINE_AMD64, false},
                    ArchitectureCase{PROCESSOR_ARCHITECTURE_INTEL, IMAGE_FILE_MACHINE_I386, false},
                    ArchitectureCase{PROCESSOR_ARCHITECTURE_INTEL, std::nullopt, false},
                    ArchitectureCase{PROCESSOR_ARCHITECTURE_ARM, std::nullopt, false}));

struct Windows10Case {
    unsigned long major, minor;
    bool windows10OrLater;
};

class Windows10 : public testing::TestWithParam<Windows10Case> {};

TEST_P(Windows10, CountsTheNtNumbersFrom10AndThePreview64)
{
    NtVersion version;
    version.major = GetParam().major;
    version.minor = GetParam().minor;
    EXPECT_EQ(osversion::IsWindows10OrLater(version), GetParam().windows10OrLater);
}

INSTANTIATE_TEST_SUITE_P(Versions, Windows10,
                         testing::Values(Windows10Case{5, 1, false}, Windows10Case{6, 1, false},
                                         Windows10Case{6, 3, false}, Windows10Case{6, 4, true},
                                         Windows10Case{6, 5, false}, Windows10Case{7, 4, false},
                                         Windows10Case{9, 9, false}, Windows10Case{10, 0, true},
                                         Windows10Case{11, 0, true}));

// --- Version texts ---------------------------------------------------------------------------------

struct CleanCase {
    const wchar_t* raw;
    const wchar_t* cleaned;
};

class CleanVersion : public testing::TestWithParam<CleanCase> {};

TEST_P(CleanVersion, TurnsCommasIntoDotsAndDropsBlanks)
{
    EXPECT_EQ(osversion::CleanVersionText(GetParam().raw), GetParam().cleaned);
}

INSTANTIATE_TEST_SUITE_P(Texts, CleanVersion,
                         testing::Values(CleanCase{L"2, 3, 4, 5", L"2.3.4.5"}, CleanCase{L"1.0.0.1", L"1.0.0.1"},
                                         CleanCase{L" 6.1.7601.17514 (win7sp1) ", L"6.1.7601.17514(win7sp1)"},
                                         CleanCase{L"1,,2", L"1..2"}, CleanCase{L"   ", L""}, CleanCase{L"", L""}));

TEST(FixedVersion, FormatsTheFourPartsMostSignificantFirst)
{
    EXPECT_EQ(osversion::FormatFixedVersion(FileInfo(10, 0, 19041, 3636)), L"10.0.19041.3636");
    EXPECT_EQ(osversion::FormatFixedVersion(FileInfo(65535, 0, 0, 65535)), L"65535.0.0.65535");
}

struct BlockCase {
    const wchar_t* file;
    bool preferString;
    const wchar_t* text;
};

class VersionBlockText : public testing::TestWithParam<BlockCase> {};

// version_sample.dll: fixed 7.6.5.4, FileVersion "2, 3, 4, 5" under its second translation only;
// version_blank.dll: the same with a FileVersion of blanks.
TEST_P(VersionBlockText, AnswersTheStringOrTheFixedVersion)
{
    const std::vector<char> block = VersionBlock(wintest::BinFile(GetParam().file));
    ASSERT_FALSE(block.empty());
    std::wstring text;
    ASSERT_TRUE(osversion::VersionTextFromBlock(block, GetParam().preferString, text));
    EXPECT_EQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Files, VersionBlockText,
                         testing::Values(BlockCase{L"version_sample.dll", true, L"2.3.4.5"},
                                         BlockCase{L"version_sample.dll", false, L"7.6.5.4"},
                                         BlockCase{L"version_blank.dll", true, L"7.6.5.4"},
                                         BlockCase{L"Uninstall.exe", true, L"1.0.0.1"},
                                         BlockCase{L"Uninstall.exe", false, L"1.0.0.1"}));

TEST(VersionBlockText, AnEmptyBlockAnswersFalseAndLeavesTheText)
{
    std::wstring text = kUntouched;
    EXPECT_FALSE(osversion::VersionTextFromBlock({}, true, text));
    EXPECT_EQ(text, kUntouched);
}

TEST(FixedVersionBuffer, RefusesResourcesOf16KBOrMore)
{
    EXPECT_FALSE(osversion::FitsFixedVersionBuffer(0));
    EXPECT_TRUE(osversion::FitsFixedVersionBuffer(1));
    EXPECT_TRUE(osversion::FitsFixedVersionBuffer(16383));
    EXPECT_FALSE(osversion::FitsFixedVersionBuffer(16384));
    EXPECT_FALSE(osversion::FitsFixedVersionBuffer(1 << 20));
}

// --- On this prefix's Windows (a default 32-bit prefix reports Windows 7) --------------------------

class OnDefaultPrefix : public testing::Test {
protected:
    void SetUp() override
    {
        NtVersion version;
        ASSERT_TRUE(GetNtVersionNumbers(version));
        ASSERT_FALSE(osversion::IsWindows10OrLater(version)) << "expects the prefix's default Windows 7";
    }
};

TEST_F(OnDefaultPrefix, The32BitPrefixIsNeither64BitNorWow64)
{
    EXPECT_FALSE(IsWow64());
    EXPECT_FALSE(Is64BitOS());
}

TEST_F(OnDefaultPrefix, TheVersionComesFromTheVersionApisAndMatchesTheKernel)
{
    const COSVersionCheck* check = COSVersionCheck::Instance();
    EXPECT_EQ(check, COSVersionCheck::Instance());
    EXPECT_EQ(check->State(), osversion::kStateFromVersionApis);
    const OSVERSIONINFOEXW& version = check->Version();
    EXPECT_EQ(version.dwOSVersionInfoSize, 284u);
    NtVersion nt;
    ASSERT_TRUE(GetNtVersionNumbers(nt));
    EXPECT_EQ(version.dwMajorVersion, nt.major);
    EXPECT_EQ(version.dwMinorVersion, nt.minor);
    EXPECT_EQ(version.dwBuildNumber, nt.build);

    // Wine's kernel file says 6.1 as well, so it corrects nothing here.
    wchar_t kernel[32] = {};
    const std::wstring kernelPath = osversion::KernelFilePath(WindowsDirectory(), false);
    ASSERT_TRUE(GetFixedFileVersion(kernelPath.c_str(), kernel, 32));
    EXPECT_EQ(std::wstring(kernel).substr(0, 9), L"6.1.7601.");
}

TEST_F(OnDefaultPrefix, AnotherQueryGivesTheSameRecord)
{
    COSVersionCheck check;
    OSVERSIONINFOEXW record = {};
    EXPECT_TRUE(check.GetRealOSVersion(record));
    EXPECT_EQ(check.State(), osversion::kStateFromVersionApis);
    EXPECT_EQ(record.dwMajorVersion, check.Version().dwMajorVersion);
    EXPECT_EQ(record.dwMinorVersion, check.Version().dwMinorVersion);
    EXPECT_EQ(record.dwBuildNumber, check.Version().dwBuildNumber);
    EXPECT_EQ(std::wstring(record.szCSDVersion), check.Version().szCSDVersion);
}

struct FileVersionCase {
    const wchar_t* file;  // in the build's bin folder
    const wchar_t* text;  // null: no version
};

class FileVersionOnDefaultPrefix : public OnDefaultPrefix, public testing::WithParamInterface<FileVersionCase> {};

// Before Windows 10 the string version is never used, so the comma-and-blank sample gives its fixed version.
TEST_P(FileVersionOnDefaultPrefix, AnswersTheFixedVersionOrLeavesTheText)
{
    std::wstring text = kUntouched;
    const bool found = GetFileVersionString(wintest::BinFile(GetParam().file), text);
    EXPECT_EQ(found, GetParam().text != nullptr);
    EXPECT_EQ(text, GetParam().text != nullptr ? GetParam().text : kUntouched);
}

INSTANTIATE_TEST_SUITE_P(Files, FileVersionOnDefaultPrefix,
                         testing::Values(FileVersionCase{L"Uninstall.exe", L"1.0.0.1"},
                                         FileVersionCase{L"version_sample.dll", L"7.6.5.4"},
                                         FileVersionCase{L"probe.exe", nullptr},
                                         FileVersionCase{L"no such file.dll", nullptr}));

struct FixedCase {
    const wchar_t* file;
    size_t capacity;
    const wchar_t* text;  // null: false, buffer unchanged
};

class FixedFileVersion : public testing::TestWithParam<FixedCase> {};

TEST_P(FixedFileVersion, WritesAtMostCapacityMinusOneCharacters)
{
    wchar_t buffer[32];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    const std::wstring path = wintest::BinFile(GetParam().file);
    const bool found = GetFixedFileVersion(path.c_str(), buffer, GetParam().capacity);
    ASSERT_EQ(found, GetParam().text != nullptr);
    if (found) {
        EXPECT_EQ(std::wstring(buffer), GetParam().text);
    } else {
        EXPECT_EQ(buffer[0], L'#');
    }
}

INSTANTIATE_TEST_SUITE_P(Files, FixedFileVersion,
                         testing::Values(FixedCase{L"Uninstall.exe", 32, L"1.0.0.1"},
                                         FixedCase{L"version_sample.dll", 32, L"7.6.5.4"},
                                         FixedCase{L"version_sample.dll", 8, L"7.6.5.4"},
                                         FixedCase{L"version_sample.dll", 5, L"7.6."},
                                         FixedCase{L"version_sample.dll", 1, L""},
                                         FixedCase{L"version_sample.dll", 0, nullptr},
                                         FixedCase{L"probe.exe", 32, nullptr},
                                         FixedCase{L"no such file.dll", 32, nullptr}));

// --- On other Windows versions: a probe process under Wine's per-program version setting -----------

struct ProbeCase {
    const wchar_t* windows;  // Wine's name of the version; empty for the prefix's default
    const char* report;      // for version_sample.dll, version_blank.dll, probe.exe
};

class ProbeOnWindows : public testing::TestWithParam<ProbeCase> {
protected:
    static constexpr wchar_t kSettingsKey[] = L"Software\\Wine\\AppDefaults\\osversion_probe.exe";

    void SetUp() override
    {
        dir_ = wintest::MakeScratchDir(L"osversion");
        if (*GetParam().windows != L'\0') {
            const std::wstring value = GetParam().windows;
            ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"Version", REG_SZ, value.c_str(),
                                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                      ERROR_SUCCESS);
        }
    }

    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        wintest::RemoveTree(dir_);
    }

    std::string Run()
    {
        const std::wstring out = PathJoin(dir_, L"report.txt");
        std::wstring line = L"\"" + wintest::BinFile(L"osversion_probe.exe") + L"\" \"" + out + L"\"";
        for (const wchar_t* file : {L"version_sample.dll", L"version_blank.dll", L"probe.exe"}) {
            line += L" \"" + wintest::BinFile(file) + L"\"";
        }
        EXPECT_EQ(wintest::RunAndWait(line), 0);
        return wintest::ReadFileBytes(out);
    }

    std::wstring dir_;
};

TEST_P(ProbeOnWindows, CorrectsTheVersionAndPicksTheVersionText)
{
    EXPECT_EQ(Run(), GetParam().report);
}

INSTANTIATE_TEST_SUITE_P(
    WineVersions, ProbeOnWindows,
    testing::Values(
        // Windows 7: nothing to correct; before Windows 10 the fixed version.
        ProbeCase{L"", "classic=6.1\nstate=0\nversion=6.1.7601\nfile=7.6.5.4\nfile=7.6.5.4\nfile=false\n"},
        // Windows 10 without a manifest: the classic query says 6.2, the native query corrects it; on
        // 32-bit Windows 10 the cleaned string version, unless it is blank.
        ProbeCase{L"win10", "classic=6.2\nstate=0\nversion=10.0.18362\nfile=2.3.4.5\nfile=7.6.5.4\nfile=false\n"},
        // Windows 8.1 without a manifest: corrected by the native query, still before Windows 10.
        ProbeCase{L"win81", "classic=6.2\nstate=0\nversion=6.3.9600\nfile=7.6.5.4\nfile=7.6.5.4\nfile=false\n"},
        // Windows XP numbers: Wine's kernel file is 6.1.7601, newer, so it corrects major, minor and build.
        ProbeCase{L"winxp", "classic=5.1\nstate=1\nversion=6.1.7601\nfile=7.6.5.4\nfile=7.6.5.4\nfile=false\n"}));

}  // namespace
