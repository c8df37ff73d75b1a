#include "sysinfo/NtVersion.h"

#include <windows.h>

bool GetNtVersionNumbers(NtVersion& version)
{
    using GetNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr) {
        return false;
    }
    auto getNumbers = reinterpret_cast<GetNumbersFn>(GetProcAddress(ntdll, "RtlGetNtVersionNumbers"));
    if (getNumbers == nullptr) {
        return false;
    }
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;
    getNumbers(&major, &minor, &build);
    version.major = major;
    version.minor = minor;
    version.build = build & 0xFFFF;
    return true;
}
