// The product's registry keys, values and file names, in one place for the whole program.
#pragma once

namespace product {

// HKEY_LOCAL_MACHINE, 32-bit view: the main executable's App Paths key written by the installer.
inline constexpr wchar_t kAppPathsKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\dovirad.exe";
inline constexpr wchar_t kInstallDirValue[] = L"path";

// HKEY_CURRENT_USER: the product's channel id.
inline constexpr wchar_t kProductKey[] = L"Software\\ZuduvAvodUzadi";
inline constexpr wchar_t kPidValue[] = L"pid";

// Files of the installation directory.
inline constexpr wchar_t kUninstallerName[] = L"Uninstall.exe";
inline constexpr wchar_t kLegacyUninstallerName[] = L"Riruzoze.exe";
inline constexpr wchar_t kIdentityFile[] = L"product";
inline constexpr wchar_t kHttpLibrary[] = L"Utils\\NetKit.dll";
inline constexpr wchar_t kArchiveLibrary[] = L"Utils\\7z.dll";
inline constexpr wchar_t kSysCoreLibrary[] = L"Utils\\SysCore.dll";

// Names of the same libraries inside the work directory of the temporary copy.
inline constexpr wchar_t kWorkHttpLibrary[] = L"NetKit.dll";
inline constexpr wchar_t kWorkArchiveLibrary[] = L"7z.dll";
inline constexpr wchar_t kWorkUtilsDir[] = L"Utils";

// The product code word of the statistics and the main executable's default name.
inline constexpr wchar_t kProductCode[] = L"papyr";
inline constexpr wchar_t kDefaultMainExe[] = L"dovirad.exe";

// The log file in the user's temporary directory.
inline constexpr wchar_t kLogFileName[] = L"papyr_uninst.log";

}  // namespace product
