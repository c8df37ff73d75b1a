// Benchmark of the "delete all files" step: removes a generated tree of 10,000 files in 500
// directories with DeleteInstallDir, and the same tree with a plain recursive DeleteFileW and
// RemoveDirectoryW, and prints files per second for both. Run by `make bench`, not by the tests.
#include "engine/EngineTestSupport.h"

#include "base/PathUtil.h"
#include "engine/InstallDirRemoval.h"
#include "startup/SmartLogger.h"
#include "support/WineTestSupport.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kDirectories = 500;
constexpr int kFilesPerDirectory = 20;
constexpr int kFiles = kDirectories * kFilesPerDirectory;

// The tree below a listed top-level directory of installDir, so that the step removes all of it.
void MakeTree(const std::wstring& installDir)
{
    for (int d = 0; d < kDirectories; ++d) {
        const std::wstring dir = PathJoin(installDir, L"data\\d" + std::to_wstring(d));
        CreateDirectoryTree(dir);
        for (int f = 0; f < kFilesPerDirectory; ++f) {
            const std::wstring path = PathJoin(dir, L"f" + std::to_wstring(f) + L".dat");
            HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            WriteFile(file, "kelvo", 5, &written, nullptr);
            CloseHandle(file);
        }
    }
}

void PlainDelete(const std::wstring& dir)
{
    ForEachDirectoryEntry(dir, [&](const std::wstring& name, DWORD attributes) {
        const std::wstring path = PathJoin(dir, name);
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            PlainDelete(path);
        } else {
            DeleteFileW(path.c_str());
        }
    });
    RemoveDirectoryW(dir.c_str());
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <class F>
double Measure(F run)
{
    LARGE_INTEGER from;
    LARGE_INTEGER to;
    QueryPerformanceCounter(&from);
    run();
    QueryPerformanceCounter(&to);
    return Seconds(from, to);
}

}  // namespace

int main()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Logger().SetPath(wintest::LogPath());
    auto config = enginetest::LoadShippedConfig();
    if (!config) {
        std::fprintf(stderr, "cannot load the shipped configuration\n");
        return 1;
    }
    const std::wstring installDir = L"C:\\Program Files\\Kelvo Bench";

    MakeTree(installDir);
    LeftoverList leftovers;
    int total = 0;
    int progress = 0;
    const double chain = Measure([&] { DeleteInstallDir(installDir, *config, leftovers, total, [&] { ++progress; }); });
    const bool chainRemovedAll = !PathExists(installDir) && progress == kFiles && leftovers.empty();

    MakeTree(installDir);
    const double plain = Measure([&] { PlainDelete(installDir); });
    const bool plainRemovedAll = !PathExists(installDir);

    std::printf("removal of %d files in %d directories\n", kFiles, kDirectories);
    std::printf("  DeleteInstallDir:                  %8.3f s  %8.0f files/s%s\n", chain, kFiles / chain,
                chainRemovedAll ? "" : "  (did not remove everything)");
    std::printf("  plain DeleteFileW/RemoveDirectoryW: %8.3f s  %8.0f files/s%s\n", plain, kFiles / plain,
                plainRemovedAll ? "" : "  (did not remove everything)");
    CoUninitialize();
    return chainRemovedAll && plainRemovedAll ? 0 : 1;
}
