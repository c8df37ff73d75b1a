// The product's registry keys, values and file names, in one place for the whole program.
#pragma once

namespace product {

// HKEY_LOCAL_MACHINE, 32-bit view: the main executable's App Paths key written by the installer.
inline constexpr wchar_t kAppPathsKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\dovirad.exe";
inline constexpr wchar_t kInstallDirValue[] = L"path";
inline constexpr wchar_t kInstallDateValue[] = L"InstallDate";
// "1" (any case) switches the OEM values of the "oemconfig" subkey on.
inline constexpr wchar_t kOemFlagValue[] = L"oem_f";
inline constexpr wchar_t kOemConfigSubKey[] = L"oemconfig";
// The installer's records below the App Paths key.
inline constexpr wchar_t kFileListSubKey[] = L"file_list";
inline constexpr wchar_t kFilePeSubKey[] = L"file_pe";
inline constexpr wchar_t kRunListSubKey[] = L"run_list";

// HKEY_CURRENT_USER: the product's channel id.
inline constexpr wchar_t kProductKey[] = L"Software\\ZuduvAvodUzadi";
inline constexpr wchar_t kPidValue[] = L"pid";
// HKEY_CURRENT_USER: the time of the last uninstall and of the last feedback.
inline constexpr wchar_t kProductEverKey[] = L"Software\\ZuduvAvodUzadiEver";
inline constexpr wchar_t kUninstallDateValue[] = L"unistdate";
inline constexpr wchar_t kFeedbackKey[] = L"SOFTWARE\\ZuduvAvoduzadi";
inline constexpr wchar_t kFeedbackDateValue[] = L"fbdata";
inline constexpr wchar_t kDateTimeFormat[] = L"%04d-%02d-%02d %02d:%02d:%02d";
// Further product keys: HKEY_CURRENT_USER and HKEY_CLASSES_ROOT.
inline constexpr wchar_t kVendorKey[] = L"Software\\Kelvo";
inline constexpr wchar_t kClassesKey[] = L"ZuduvAvoduzadi";

// Files of the installation directory.
inline constexpr wchar_t kUninstallerName[] = L"Uninstall.exe";
inline constexpr wchar_t kLegacyUninstallerName[] = L"Riruzoze.exe";
inline constexpr wchar_t kIdentityFile[] = L"product";
inline constexpr wchar_t kHttpLibrary[] = L"Utils\\NetKit.dll";
inline constexpr wchar_t kArchiveLibrary[] = L"Utils\\7z.dll";
inline constexpr wchar_t kSysCoreLibrary[] = L"Utils\\SysCore.dll";
// The product's settings file: section "auto_run", key "open" ("1" starts the product with Windows).
inline constexpr wchar_t kSettingsFile[] = L"config.set";
inline constexpr wchar_t kAutoRunSection[] = L"auto_run";
inline constexpr wchar_t kAutoRunKey[] = L"open";

// Names of the same libraries inside the work directory of the temporary copy.
inline constexpr wchar_t kWorkHttpLibrary[] = L"NetKit.dll";
inline constexpr wchar_t kWorkArchiveLibrary[] = L"7z.dll";
inline constexpr wchar_t kWorkUtilsDir[] = L"Utils";

// The product code word of the statistics and the main executable's default name.
inline constexpr wchar_t kProductCode[] = L"papyr";
inline constexpr wchar_t kDefaultMainExe[] = L"dovirad.exe";

// The identity file beside the running executable: the executable's path joined with this, encrypted with
// the identity key; its JSON keys and the standard product's values.
inline constexpr wchar_t kIdentityFileFromExe[] = L"..\\product";
inline constexpr wchar_t kIdentityKey[] = L"7E91A2C3-5F08-4D6B-9C1E-3B2A8F40D7E5";
inline constexpr wchar_t kCompanyKey[] = L"company";
inline constexpr wchar_t kMainExeKey[] = L"main_exe";
inline constexpr wchar_t kNameKey[] = L"name";
inline constexpr wchar_t kDefaultCompany[] = L"Orvane科技";
inline constexpr wchar_t kDefaultProductName[] = L"凯洛壁纸";

// Image keys of the identity file: PNG resource ids of the screens' backgrounds.
inline constexpr wchar_t kUninstallBgKey[] = L"uninstall_bg";
inline constexpr wchar_t kUninstallTopBgKey[] = L"uninstall_top_bg";
inline constexpr wchar_t kUninstallQuestionBgKey[] = L"uninstall_question_bg";
inline constexpr wchar_t kUninstallFeedbackBgKey[] = L"uninstall_feedback_bg";
inline constexpr wchar_t kSetBgKey[] = L"set_bg";
inline constexpr wchar_t kTitlePicKey[] = L"title_pic";

// The OEM values: the product code they exist for, their cipher key, and the service name of the statistics.
inline constexpr wchar_t kOemProductCode[] = L"kelvo";
inline constexpr wchar_t kOemKey[] = L"3D5E8B21-C94A-4F7E-A06D-2E19B7C4F853";
inline constexpr wchar_t kStatisticsService[] = L"statis";

// Below the user's roaming application data folder: the product's data and its browser cache.
inline constexpr wchar_t kAppDataFolder[] = L"dovirad";
inline constexpr wchar_t kBrowserCacheFolder[] = L"dovirad\\cef_cache";
// Below the (32-bit) Program Files folder: the uninstaller of the product's predecessor.
inline constexpr wchar_t kLegacyVendorFolder[] = L"Lumio";
inline constexpr wchar_t kLegacyProductFolder[] = L"Lumiopapyr";

// The log file in the user's temporary directory.
inline constexpr wchar_t kLogFileName[] = L"papyr_uninst.log";

// The product's programs that the engine closes, terminates, spares or calls, relative to the
// installation directory.
inline constexpr wchar_t kServiceProgram[] = L"kelvosrv.exe";
inline constexpr wchar_t kIgnoredProgram[] = L"ZurIru\\ZurIru.exe";
inline constexpr wchar_t kAssistModule[] = L".\\Utils\\Assist.dll";
inline constexpr wchar_t kRundllLauncher32[] = L"Utils\\rundll.exe";
inline constexpr wchar_t kRundllLauncher64[] = L"Utils\\rundll64.exe";
inline constexpr wchar_t kHardwixDll[] = L"wallpaperhelper\\Hardwix12.dll";
inline constexpr wchar_t kHomepageGuard[] = L"Utils\\pageward.exe";
inline constexpr wchar_t kGameCentreDll[] = L"Utils\\vtmgamecenter_papyr.dll";
inline constexpr wchar_t kGameCentreExe[] = L"Utils\\vtmgamecenter_papyr.exe";
// The message every window of the product quits on, and its control window's class.
inline constexpr wchar_t kQuitMessageName[] = L"zuduvavoduzadi_quit";
inline constexpr wchar_t kControlWindowClass[] = L"DovirAdCtrlCls";
// The code word that the product's run_list programs receive beside its PID.
inline constexpr wchar_t kRunListProductWord[] = L"kelvo";

}  // namespace product
