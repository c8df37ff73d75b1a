// The Windows version numbers as the kernel reports them, independent of compatibility shims.
#pragma once

struct NtVersion {
    unsigned long major = 0;
    unsigned long minor = 0;
    unsigned long build = 0;
};

// Asks ntdll's RtlGetNtVersionNumbers (resolved at run time); false when it is not available.
bool GetNtVersionNumbers(NtVersion& version);
