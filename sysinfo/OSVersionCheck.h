// The real Windows version, whether Windows is 64-bit or the process runs under WOW64, and files' versions.
#pragma once

#include "base/Singleton.h"
#include "sysinfo/NtVersion.h"

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The real Windows version, corrected from the native query and the kernel file; one per process.
class COSVersionCheck : public CSingletonT<COSVersionCheck> {
public:
    COSVersionCheck();              // fills the record (GetRealOSVersion)
    virtual ~COSVersionCheck();
    bool GetRealOSVersion(OSVERSIONINFOEXW& record);   // always true; sets the state
    int State() const;                                 // -1 before the first query, 0 from the version APIs, 1 corrected from the kernel file
    const OSVERSIONINFOEXW& Version() const;

private:
    int state_;
    OSVERSIONINFOEXW version_;
};

// True when the process is a 32-bit one on 64-bit Windows; false when that cannot be asked.
bool IsWow64();

// True on 64-bit Windows (x64, Itanium, ARM64); cached after the first call.
bool Is64BitOS();

// The file's version as text ("1.2.3.4"); on 32-bit Windows 10 and later its cleaned FileVersion string
// when it has one. False, text unchanged, when the file has no readable version resource.
bool GetFileVersionString(const std::wstring& path, std::wstring& text);

// The file's fixed version "1.2.3.4" into buffer (at most capacity - 1 characters, cut when longer);
// false, buffer unchanged, without a version resource or with one of 16 KB or more.
bool GetFixedFileVersion(const wchar_t* path, wchar_t* buffer, size_t capacity);

// The decisions behind the functions above, on given inputs.
namespace osversion {

constexpr int kStateUnknown = -1;
constexpr int kStateFromVersionApis = 0;
constexpr int kStateFromKernelFile = 1;

// The classic answer is final for Windows 2000/XP/2003 seen by a 32-bit process on 64-bit Windows.
bool KeepsClassicVersion(DWORD classicMajor, bool wow64);

// Replaces the record by the native one when that is newer (by major * 10 + minor); true when it did.
bool TakeNewerNativeVersion(OSVERSIONINFOEXW& record, const OSVERSIONINFOEXW& native);

// Sets major, minor and build from the kernel file when its version is newer; true when it did.
bool TakeNewerFileVersion(OSVERSIONINFOEXW& record, const VS_FIXEDFILEINFO& file);

// The kernel file below the Windows directory, through the SysNative alias for a WOW64 process.
std::wstring KernelFilePath(const std::wstring& windowsDir, bool wow64);

// 64-bit by the native processor architecture, or by the native machine (ARM64) when one is known.
bool Is64BitSystem(WORD nativeArchitecture, std::optional<USHORT> nativeMachine);

// Windows 10 or later, including the 6.4 numbering of its previews.
bool IsWindows10OrLater(const NtVersion& version);

// A FileVersion string with every comma turned into a dot and every blank removed.
std::wstring CleanVersionText(const std::wstring& text);

// The four 16-bit parts of the fixed file version, most significant first, as "%d.%d.%d.%d".
std::wstring FormatFixedVersion(const VS_FIXEDFILEINFO& info);

// The version text of a version block: with preferString, the cleaned FileVersion string of the first
// translation that has one, when that is not empty; otherwise the fixed version. False without either.
bool VersionTextFromBlock(const std::vector<char>& block, bool preferString, std::wstring& text);

// Whether a version resource of this many bytes is read for the fixed file version (under 16 KB).
bool FitsFixedVersionBuffer(DWORD size);

}  // namespace osversion
