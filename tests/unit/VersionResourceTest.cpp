#include "support/WineTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring VersionString(const std::vector<char>& block, const wchar_t* name)
{
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) {
        return std::wstring();
    }
    return static_cast<const wchar_t*>(value);
}

TEST(VersionResource, TheUninstallerCarriesItsFileVersionAndNames)
{
    const std::wstring exe = wintest::BinFile(L"Uninstall.exe");
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.0.0.1");
    EXPECT_EQ(VersionString(block, L"ProductName"), L"凯洛壁纸");
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"Uninstall.exe");
}

}  // namespace
