// Blowfish block cipher (16 rounds, 64-bit blocks) in ECB mode with zero padding to whole blocks.
#pragma once

#include "crypto/BlowfishTables.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t kBlowfishBlockSize = 8;

class BlowfishCipher {
public:
    // Runs the standard key schedule over length key bytes; false for an empty key.
    bool SetKey(const uint8_t* key, size_t length);

    // Encrypts one block given as its two big-endian halves.
    void EncryptBlock(uint32_t& left, uint32_t& right) const;

    // Decrypts one block given as its two big-endian halves.
    void DecryptBlock(uint32_t& left, uint32_t& right) const;

    // Copies the data zero-padded to whole blocks and encrypts it; false (and nothing) for empty data.
    bool Encrypt(const uint8_t* data, size_t length, std::vector<uint8_t>& cipher) const;

    // Decrypts in place; a last partial block is completed with zeros and cut back to length afterwards.
    void Decrypt(std::vector<uint8_t>& data) const;

private:
    using BlockOperation = void (BlowfishCipher::*)(uint32_t&, uint32_t&) const;

    uint32_t Feistel(uint32_t half) const;
    // Applies operation to each 8-byte block of data read as two big-endian halves; length is whole blocks.
    void ApplyToBlocks(uint8_t* data, size_t length, BlockOperation operation) const;

    uint32_t p_[kBlowfishPWords] = {};
    uint32_t s_[kBlowfishSBoxes][kBlowfishSWords] = {};
};

// Length rounded up to whole cipher blocks.
size_t BlowfishPaddedLength(size_t length);
