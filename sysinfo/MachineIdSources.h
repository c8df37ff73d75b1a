// Where the machine identifiers get their hardware texts and process facts from; the real machine
// by default, a fixed set in tests.
#pragma once

#include <string>

class IMachineIdSources {
public:
    virtual std::string ProcessorTextForMid() = 0;
    virtual std::string DiskIdForMid() = 0;
    virtual std::string NetworkAddressForMid() = 0;
    virtual std::string ProcessorTextForMid2() = 0;
    virtual std::string DiskIdForMid2() = 0;
    virtual std::string NetworkAddressForMid2() = 0;
    virtual bool IsElevated() = 0;
    virtual void Wait(unsigned long milliseconds) = 0;
    // 32 lower-case hexadecimal digits of the 16 bytes of a new GUID; false when none can be made.
    virtual bool NewGuidDigits(std::string& digits) = 0;

protected:
    ~IMachineIdSources() = default;
};

// The sources of the machine this process runs on.
IMachineIdSources& HardwareSources();
