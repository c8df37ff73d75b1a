#include "sysinfo/Crc8.h"

uint8_t Crc8(const std::string& bytes)
{
    uint8_t crc = 0;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? static_cast<uint8_t>((crc >> 1) ^ 0x8C) : static_cast<uint8_t>(crc >> 1);
        }
    }
    return crc;
}
