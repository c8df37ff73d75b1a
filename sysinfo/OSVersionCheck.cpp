#include "sysinfo/OSVersionCheck.h"

#include "base/PathUtil.h"
#include "base/ScopedHandle.h"
#include "base/StringUtil.h"

#include <atomic>
#include <cwchar>

namespace {

// The extended version record of the classic query, with its wide service-pack text.
constexpr DWORD kVersionRecordSize = 284;
static_assert(sizeof(OSVERSIONINFOEXW) == kVersionRecordSize, "version record layout");

constexpr WORD kVersionResourceType = 16;
constexpr WORD kVersionResourceId = 1;
constexpr DWORD kFixedVersionBufferBytes = 16 * 1024;
constexpr DWORD kLegacyWindowsMajor = 5;
constexpr DWORD kWindows10PreviewMajor = 6;
constexpr DWORD kWindows10PreviewMinor = 4;
constexpr DWORD kLastMajorBeforeWindows10 = 9;

constexpr wchar_t kSysNativeKernel[] = L"SysNative\\ntoskrnl.exe";
constexpr wchar_t kSystem32Kernel[] = L"System32\\ntoskrnl.exe";
constexpr wchar_t kRootBlock[] = L"\\";
constexpr wchar_t kTranslationBlock[] = L"\\VarFileInfo\\Translation";
constexpr wchar_t kFileVersionFormat[] = L"\\StringFileInfo\\%04x%04x\\FileVersion";

// A once-per-process answer computed without a lock; racing first uses store the same value.
struct CachedAnswer {
    std::atomic<bool> known{false};
    std::atomic<bool> value{false};
};

CachedAnswer g_is64BitOS;
CachedAnswer g_isWindows10OrLater;

template <class Compute>
bool Cached(CachedAnswer& cache, Compute compute)
{
    if (cache.known.load(std::memory_order_acquire)) {
        return cache.value.load(std::memory_order_relaxed);
    }
    const bool value = compute();
    cache.value.store(value, std::memory_order_relaxed);
    cache.known.store(true, std::memory_order_release);
    return value;
}

DWORD VersionKey(DWORD major, DWORD minor)
{
    return major * 10 + minor;
}

template <class Fn>
Fn ResolveFunction(const wchar_t* module, const char* name)
{
    HMODULE handle = GetModuleHandleW(module);
    return handle == nullptr ? nullptr : reinterpret_cast<Fn>(GetProcAddress(handle, name));
}

void ClassicVersion(OSVERSIONINFOEXW& record)
{
    record = OSVERSIONINFOEXW{};
    record.dwOSVersionInfoSize = kVersionRecordSize;
    GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record));
}

bool NativeVersion(OSVERSIONINFOEXW& record)
{
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    auto rtlGetVersion = ResolveFunction<RtlGetVersionFn>(L"ntdll", "RtlGetVersion");
    if (rtlGetVersion == nullptr) {
        return false;
    }
    record = OSVERSIONINFOEXW{};
    record.dwOSVersionInfoSize = kVersionRecordSize;
    return rtlGetVersion(&record) == 0;
}

bool FixedInfoOfBlock(const void* block, VS_FIXEDFILEINFO& info)
{
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block, kRootBlock, &value, &length) || value == nullptr || length < sizeof(info)) {
        return false;
    }
    info = *static_cast<const VS_FIXEDFILEINFO*>(value);
    return true;
}

std::wstring KernelFile()
{
    wchar_t windowsDir[MAX_PATH] = {};
    const UINT length = GetSystemWindowsDirectoryW(windowsDir, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return std::wstring();
    }
    return osversion::KernelFilePath(windowsDir, IsWow64());
}

// The fixed file information of the kernel file's version resource, read from a private copy.
bool KernelFileVersion(VS_FIXEDFILEINFO& info)
{
    const std::wstring path = KernelFile();
    if (path.empty()) {
        return false;
    }
    UniqueModule module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) {
        return false;
    }
    HRSRC resource = FindResourceW(module.Get(), MAKEINTRESOURCEW(kVersionResourceId),
                                   MAKEINTRESOURCEW(kVersionResourceType));
    if (resource == nullptr) {
        return false;
    }
    const DWORD size = SizeofResource(module.Get(), resource);
    HGLOBAL loaded = LoadResource(module.Get(), resource);
    const void* data = loaded == nullptr ? nullptr : LockResource(loaded);
    if (data == nullptr || size == 0) {
        return false;
    }
    const auto* bytes = static_cast<const char*>(data);
    const std::vector<char> copy(bytes, bytes + size);
    return FixedInfoOfBlock(copy.data(), info);
}

bool ReadVersionBlock(const wchar_t* path, std::vector<char>& block)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0) {
        return false;
    }
    block.assign(size, 0);
    return GetFileVersionInfoW(path, 0, size, block.data()) != FALSE;
}

// The FileVersion string of the first translation that has one.
std::optional<std::wstring> FileVersionString(const std::vector<char>& block)
{
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), kTranslationBlock, &value, &length) || value == nullptr) {
        return std::nullopt;
    }
    const auto* pairs = static_cast<const WORD*>(value);
    const UINT pairCount = length / (2 * sizeof(WORD));
    for (UINT i = 0; i < pairCount; ++i) {
        const std::wstring query = FormatString(kFileVersionFormat, pairs[2 * i], pairs[2 * i + 1]);
        void* text = nullptr;
        UINT chars = 0;
        if (VerQueryValueW(block.data(), query.c_str(), &text, &chars) && text != nullptr) {
            return std::wstring(static_cast<const wchar_t*>(text), wcsnlen(static_cast<const wchar_t*>(text), chars));
        }
    }
    return std::nullopt;
}

bool DetectWindows10OrLater()
{
    NtVersion version;
    return GetNtVersionNumbers(version) && osversion::IsWindows10OrLater(version);
}

std::optional<USHORT> NativeMachine()
{
    using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    auto isWow64Process2 = ResolveFunction<IsWow64Process2Fn>(L"kernel32", "IsWow64Process2");
    USHORT processMachine = 0;
    USHORT nativeMachine = 0;
    if (isWow64Process2 == nullptr || !isWow64Process2(GetCurrentProcess(), &processMachine, &nativeMachine)) {
        return std::nullopt;
    }
    return nativeMachine;
}

bool IsArchitecture64Bit(WORD architecture)
{
    return architecture == PROCESSOR_ARCHITECTURE_IA64 || architecture == PROCESSOR_ARCHITECTURE_AMD64 ||
           architecture == PROCESSOR_ARCHITECTURE_ARM64;
}

bool DetectIs64BitOS()
{
    using GetNativeSystemInfoFn = void(WINAPI*)(SYSTEM_INFO*);
    auto getNativeSystemInfo = ResolveFunction<GetNativeSystemInfoFn>(L"kernel32.dll", "GetNativeSystemInfo");
    if (getNativeSystemInfo == nullptr) {
        return false;
    }
    SYSTEM_INFO info = {};
    getNativeSystemInfo(&info);
    const WORD architecture = info.wProcessorArchitecture;
    // The native machine is asked only when the architecture does not already tell.
    const std::optional<USHORT> machine = IsArchitecture64Bit(architecture) ? std::nullopt : NativeMachine();
    return osversion::Is64BitSystem(architecture, machine);
}

}  // namespace

COSVersionCheck::COSVersionCheck() : state_(osversion::kStateUnknown), version_()
{
    GetRealOSVersion(version_);
}

COSVersionCheck::~COSVersionCheck() = default;

bool COSVersionCheck::GetRealOSVersion(OSVERSIONINFOEXW& record)
{
    state_ = osversion::kStateFromVersionApis;
    ClassicVersion(record);
    if (osversion::KeepsClassicVersion(record.dwMajorVersion, IsWow64())) {
        return true;
    }
    OSVERSIONINFOEXW native;
    if (NativeVersion(native)) {
        osversion::TakeNewerNativeVersion(record, native);
    }
    VS_FIXEDFILEINFO file = {};
    if (KernelFileVersion(file) && osversion::TakeNewerFileVersion(record, file)) {
        state_ = osversion::kStateFromKernelFile;
    }
    return true;
}

int COSVersionCheck::State() const
{
    return state_;
}

const OSVERSIONINFOEXW& COSVersionCheck::Version() const
{
    return version_;
}

bool IsWow64()
{
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);
    auto isWow64Process = ResolveFunction<IsWow64ProcessFn>(L"kernel32", "IsWow64Process");
    BOOL wow64 = FALSE;
    if (isWow64Process == nullptr || !isWow64Process(GetCurrentProcess(), &wow64)) {
        return false;
    }
    return wow64 != FALSE;
}

bool Is64BitOS()
{
    return Cached(g_is64BitOS, DetectIs64BitOS);
}

bool GetFileVersionString(const std::wstring& path, std::wstring& text)
{
    std::vector<char> block;
    if (!ReadVersionBlock(path.c_str(), block)) {
        return false;
    }
    const bool preferString = Cached(g_isWindows10OrLater, DetectWindows10OrLater) && !Is64BitOS();
    return osversion::VersionTextFromBlock(block, preferString, text);
}

bool GetFixedFileVersion(const wchar_t* path, wchar_t* buffer, size_t capacity)
{
    if (path == nullptr || buffer == nullptr || capacity == 0) {
        return false;
    }
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (!osversion::FitsFixedVersionBuffer(size)) {
        return false;
    }
    std::vector<char> block(size);
    VS_FIXEDFILEINFO info = {};
    if (!GetFileVersionInfoW(path, 0, size, block.data()) || !FixedInfoOfBlock(block.data(), info)) {
        return false;
    }
    const std::wstring text = osversion::FormatFixedVersion(info);
    const size_t count = text.copy(buffer, capacity - 1);
    buffer[count] = L'\0';
    return true;
}

namespace osversion {

bool KeepsClassicVersion(DWORD classicMajor, bool wow64)
{
    return classicMajor == kLegacyWindowsMajor && wow64;
}

bool TakeNewerNativeVersion(OSVERSIONINFOEXW& record, const OSVERSIONINFOEXW& native)
{
    if (VersionKey(native.dwMajorVersion, native.dwMinorVersion) <=
        VersionKey(record.dwMajorVersion, record.dwMinorVersion)) {
        return false;
    }
    record = native;
    return true;
}

bool TakeNewerFileVersion(OSVERSIONINFOEXW& record, const VS_FIXEDFILEINFO& file)
{
    const DWORD major = HIWORD(file.dwFileVersionMS);
    const DWORD minor = LOWORD(file.dwFileVersionMS);
    if (VersionKey(major, minor) <= VersionKey(record.dwMajorVersion, record.dwMinorVersion)) {
        return false;
    }
    record.dwMajorVersion = major;
    record.dwMinorVersion = minor;
    record.dwBuildNumber = HIWORD(file.dwFileVersionLS);
    return true;
}

std::wstring KernelFilePath(const std::wstring& windowsDir, bool wow64)
{
    return PathJoin(windowsDir, wow64 ? kSysNativeKernel : kSystem32Kernel);
}

bool Is64BitSystem(WORD nativeArchitecture, std::optional<USHORT> nativeMachine)
{
    if (IsArchitecture64Bit(nativeArchitecture)) {
        return true;
    }
    return nativeMachine.has_value() && *nativeMachine == IMAGE_FILE_MACHINE_ARM64;
}

bool IsWindows10OrLater(const NtVersion& version)
{
    return version.major > kLastMajorBeforeWindows10 ||
           (version.major == kWindows10PreviewMajor && version.minor == kWindows10PreviewMinor);
}

std::wstring CleanVersionText(const std::wstring& text)
{
    std::wstring cleaned;
    cleaned.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L' ') {
            continue;
        }
        cleaned += c == L',' ? L'.' : c;
    }
    return cleaned;
}

std::wstring FormatFixedVersion(const VS_FIXEDFILEINFO& info)
{
    return FormatString(L"%d.%d.%d.%d", HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS),
                        HIWORD(info.dwFileVersionLS), LOWORD(info.dwFileVersionLS));
}

bool VersionTextFromBlock(const std::vector<char>& block, bool preferString, std::wstring& text)
{
    if (block.empty()) {
        return false;
    }
    if (preferString) {
        const std::optional<std::wstring> found = FileVersionString(block);
        const std::wstring cleaned = found ? CleanVersionText(*found) : std::wstring();
        if (!cleaned.empty()) {
            text = cleaned;
            return true;
        }
    }
    VS_FIXEDFILEINFO info = {};
    if (!FixedInfoOfBlock(block.data(), info)) {
        return false;
    }
    text = FormatFixedVersion(info);
    return true;
}

bool FitsFixedVersionBuffer(DWORD size)
{
    return size > 0 && size < kFixedVersionBufferBytes;
}

}  // namespace osversion
