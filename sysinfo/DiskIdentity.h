// Disk serial numbers for the machine identifiers: SMART identify data, the SCSI miniport and the
// storage property query, scanning physical drives 0 to 15.
#pragma once

#include <cstdint>
#include <string>

constexpr int kDiskScanCount = 16;
constexpr size_t kMidDiskTextLimit = 99;

// The disk text mid uses: the first of four sources that yields a text, at most 99 characters.
std::string DiskIdForMid();

// The disk text mid2 uses: the first fixed, internal drive whose identify serial, or else its
// decoded descriptor serial followed by vendor and product, yields a text.
std::string DiskIdForMid2();

// Identify words 10 to 19, each word high byte first, up to the first zero, trailing blanks removed.
std::string IdentifySerialText(const uint16_t* identifyWords);

// A descriptor serial number: decoded when it is all hexadecimal pairs (a blank counting as 0) of
// printable characters, unchanged when it is all printable, else empty.
std::string DecodeDescriptorSerial(const std::string& serial);

// Swaps each pair of neighbouring characters; a last odd character stays.
std::string SwapNeighbourPairs(std::string text);

// Whether mid2 may use a drive: not removable, and not on SCSI, 1394, USB, SAS or a virtual bus.
bool IsDriveUsableForMid2(bool removable, int busType);
