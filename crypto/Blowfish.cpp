#include "crypto/Blowfish.h"
#include "crypto/ByteOrder.h"

#include <cstring>
#include <utility>

namespace {

constexpr int kRounds = 16;

}  // namespace

size_t BlowfishPaddedLength(size_t length)
{
    return (length + kBlowfishBlockSize - 1) / kBlowfishBlockSize * kBlowfishBlockSize;
}

bool BlowfishCipher::SetKey(const uint8_t* key, size_t length)
{
    if (key == nullptr || length == 0) {
        return false;
    }
    std::memcpy(p_, kBlowfishInitialP, sizeof(p_));
    std::memcpy(s_, kBlowfishInitialS, sizeof(s_));
    size_t next = 0;
    for (uint32_t& word : p_) {
        uint32_t keyWord = 0;
        for (int i = 0; i < 4; ++i) {
            keyWord = (keyWord << 8) | key[next];
            next = (next + 1) % length;
        }
        word ^= keyWord;
    }
    uint32_t left = 0;
    uint32_t right = 0;
    for (int i = 0; i < kBlowfishPWords; i += 2) {
        EncryptBlock(left, right);
        p_[i] = left;
        p_[i + 1] = right;
    }
    for (auto& box : s_) {
        for (int i = 0; i < kBlowfishSWords; i += 2) {
            EncryptBlock(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
    return true;
}

uint32_t BlowfishCipher::Feistel(uint32_t half) const
{
    return ((s_[0][half >> 24] + s_[1][(half >> 16) & 0xFF]) ^ s_[2][(half >> 8) & 0xFF]) + s_[3][half & 0xFF];
}

void BlowfishCipher::EncryptBlock(uint32_t& left, uint32_t& right) const
{
    uint32_t l = left;
    uint32_t r = right;
    for (int i = 0; i < kRounds; ++i) {
        l ^= p_[i];
        r ^= Feistel(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= p_[kRounds];
    l ^= p_[kRounds + 1];
    left = l;
    right = r;
}

void BlowfishCipher::DecryptBlock(uint32_t& left, uint32_t& right) const
{
    uint32_t l = left;
    uint32_t r = right;
    for (int i = kRounds + 1; i > 1; --i) {
        l ^= p_[i];
        r ^= Feistel(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= p_[1];
    l ^= p_[0];
    left = l;
    right = r;
}

void BlowfishCipher::ApplyToBlocks(uint8_t* data, size_t length, BlockOperation operation) const
{
    for (size_t offset = 0; offset < length; offset += kBlowfishBlockSize) {
        uint32_t left = ReadBigEndian(data + offset);
        uint32_t right = ReadBigEndian(data + offset + 4);
        (this->*operation)(left, right);
        WriteBigEndian(left, data + offset);
        WriteBigEndian(right, data + offset + 4);
    }
}

bool BlowfishCipher::Encrypt(const uint8_t* data, size_t length, std::vector<uint8_t>& cipher) const
{
    cipher.clear();
    if (length == 0) {
        return false;
    }
    cipher.assign(BlowfishPaddedLength(length), 0);
    std::memcpy(cipher.data(), data, length);
    ApplyToBlocks(cipher.data(), cipher.size(), &BlowfishCipher::EncryptBlock);
    return true;
}

void BlowfishCipher::Decrypt(std::vector<uint8_t>& data) const
{
    const size_t length = data.size();
    data.resize(BlowfishPaddedLength(length), 0);
    ApplyToBlocks(data.data(), data.size(), &BlowfishCipher::DecryptBlock);
    data.resize(length);
}
