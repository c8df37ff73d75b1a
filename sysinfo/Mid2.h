// mid2: composition from the hardware record, the cache rules and the computation that decides
// between the cached and a fresh value.
#pragma once

#include <string>

class IMachineIdSources;

constexpr size_t kMid2Chars = 44;
constexpr size_t kMid2IdChars = 40;

// Flags byte bits.
constexpr unsigned kMid2AddressRead = 0x01;
constexpr unsigned kMid2DiskRead = 0x02;
constexpr unsigned kMid2ProcessorRead = 0x08;
constexpr unsigned kMid2RandomId = 0x10;
constexpr unsigned kMid2HashedId = 0x20;

// The hardware texts mid2 is made from; empty when not read.
struct Mid2Hardware {
    std::string address;
    std::string disk;
    std::string processor;

    bool HasAddressOrDisk() const { return !address.empty() || !disk.empty(); }
    bool operator==(const Mid2Hardware& other) const
    {
        return address == other.address && disk == other.disk && processor == other.processor;
    }
    bool operator!=(const Mid2Hardware& other) const { return !(*this == other); }
};

// A composed value and whether it came from the hardware (a hashed id).
struct Mid2Composition {
    std::string value;
    bool success = false;
};

// Exactly 44 characters whose digits at 42 parse to the CRC-8 of the first 42.
bool IsValidMid2(const std::wstring& value);

// A random id: the first 8 characters are "ffffffff", ignoring case.
bool IsPlaceholderMid2(const std::wstring& value);

// id, flags and checksum from the record; the GUID comes from sources when the record has no
// address and no disk.
Mid2Composition ComposeMid2(const Mid2Hardware& hardware, bool elevated, IMachineIdSources& sources);

// mid2 as the cache rules decide it, stored in the cache when it is new.
std::wstring ComputeMid2(IMachineIdSources& sources);
