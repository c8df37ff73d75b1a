#include "sysinfo/ProcessorText.h"

#include "base/Locker.h"
#include "base/StringUtil.h"

#include <cpuid.h>

#include <cstdio>
#include <cstring>

namespace {

struct CpuidRegisters {
    unsigned int eax = 0;
    unsigned int ebx = 0;
    unsigned int ecx = 0;
    unsigned int edx = 0;
};

CpuidRegisters Cpuid(unsigned int leaf)
{
    CpuidRegisters r;
    __cpuid(leaf, r.eax, r.ebx, r.ecx, r.edx);
    return r;
}

std::string VendorText()
{
    const CpuidRegisters leaf0 = Cpuid(0);
    char vendor[13] = {};
    std::memcpy(vendor, &leaf0.ebx, 4);
    std::memcpy(vendor + 4, &leaf0.edx, 4);
    std::memcpy(vendor + 8, &leaf0.ecx, 4);
    return FixedVendorText(vendor);
}

std::string BrandText()
{
    if (Cpuid(0x80000000).eax < 0x80000004) {
        return std::string();
    }
    char brand[49] = {};
    for (unsigned int i = 0; i < 3; ++i) {
        const CpuidRegisters part = Cpuid(0x80000002 + i);
        std::memcpy(brand + 16 * i, &part.eax, 4);
        std::memcpy(brand + 16 * i + 4, &part.ebx, 4);
        std::memcpy(brand + 16 * i + 8, &part.ecx, 4);
        std::memcpy(brand + 16 * i + 12, &part.edx, 4);
    }
    return TrimBlanks(brand);
}

std::string ReadMidText()
{
    char text[64];
    std::snprintf(text, sizeof(text), "%s:%08x", VendorText().c_str(), Cpuid(1).edx);
    return text;
}

std::string ReadMid2Text()
{
    char head[64];
    std::snprintf(head, sizeof(head), "%s,%x,", VendorText().c_str(), Cpuid(1).eax);
    return head + BrandText();
}

// Reads once under a lock shared by the callers of one text; later calls answer the copy.
class CachedText {
public:
    explicit CachedText(std::string (*read)()) : read_(read) {}

    std::string Get()
    {
        _BaseModule::CAutoLocker guard(lock_);
        if (!known_) {
            text_ = read_();
            known_ = true;
        }
        return text_;
    }

private:
    std::string (*read_)();
    _BaseModule::CCriticalSection lock_;
    bool known_ = false;
    std::string text_;
};

}  // namespace

std::string FixedVendorText(const std::string& vendor)
{
    return vendor == "GenuineIotel" ? std::string("GenuineIntel") : vendor;
}

std::string ProcessorTextForMid()
{
    static CachedText cache(ReadMidText);
    return cache.Get();
}

std::string ProcessorTextForMid2()
{
    static CachedText cache(ReadMid2Text);
    return cache.Get();
}
