// Big-endian 32-bit words in byte buffers, as SHA-1 and Blowfish read and write them.
#pragma once

#include <cstdint>

inline uint32_t ReadBigEndian(const uint8_t* bytes)
{
    return (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3];
}

inline void WriteBigEndian(uint32_t value, uint8_t* bytes)
{
    bytes[0] = static_cast<uint8_t>(value >> 24);
    bytes[1] = static_cast<uint8_t>(value >> 16);
    bytes[2] = static_cast<uint8_t>(value >> 8);
    bytes[3] = static_cast<uint8_t>(value);
}
