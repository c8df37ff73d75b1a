// The 8-bit checksum that closes a mid2 text: reflected polynomial 0x8C, initial value 0, no final XOR.
#pragma once

#include <cstdint>
#include <string>

uint8_t Crc8(const std::string& bytes);
