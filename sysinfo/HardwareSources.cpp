#include "sysinfo/MachineIdSources.h"

#include "base/ScopedHandle.h"
#include "base/StringUtil.h"
#include "sysinfo/DiskIdentity.h"
#include "sysinfo/NetworkAddress.h"
#include "sysinfo/OSVersionCheck.h"
#include "sysinfo/ProcessorText.h"

#include <windows.h>


namespace {

// Elevated on systems without elevation (before Windows Vista) and whenever the token cannot tell.
bool ProcessIsElevated()
{
    if (COSVersionCheck::Instance()->Version().dwMajorVersion < 6) {
        return true;
    }
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) {
        return true;
    }
    UniqueHandle token(rawToken);
    TOKEN_ELEVATION elevation = {};
    DWORD returned = 0;
    if (!GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof(elevation), &returned)) {
        return true;
    }
    return elevation.TokenIsElevated != 0;
}

class CHardwareSources : public IMachineIdSources {
public:
    std::string ProcessorTextForMid() override { return ::ProcessorTextForMid(); }
    std::string DiskIdForMid() override { return ::DiskIdForMid(); }
    std::string NetworkAddressForMid() override { return ::NetworkAddressForMid(); }
    std::string ProcessorTextForMid2() override { return ::ProcessorTextForMid2(); }
    std::string DiskIdForMid2() override { return ::DiskIdForMid2(); }
    std::string NetworkAddressForMid2() override { return ::NetworkAddressForMid2(); }
    bool IsElevated() override { return ProcessIsElevated(); }
    void Wait(unsigned long milliseconds) override { Sleep(milliseconds); }

    bool NewGuidDigits(std::string& digits) override
    {
        GUID guid = {};
        if (FAILED(CoCreateGuid(&guid))) {
            return false;
        }
        digits = ToLowerHex(reinterpret_cast<const unsigned char*>(&guid), sizeof(guid));
        return true;
    }
};

}  // namespace

IMachineIdSources& HardwareSources()
{
    static CHardwareSources sources;
    return sources;
}
