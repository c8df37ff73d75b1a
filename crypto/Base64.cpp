#include "crypto/Base64.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPad = '=';
constexpr size_t kQuartet = 4;
constexpr size_t kTriplet = 3;
constexpr int kInvalid = -1;

int SextetOf(char c)
{
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+') {
        return 62;
    }
    if (c == '/') {
        return 63;
    }
    return kInvalid;
}

// Number of trailing "=" (0 to 2); kInvalid when there are more.
int PaddingCount(const char* text, size_t length)
{
    int count = 0;
    while (count < static_cast<int>(length) && text[length - 1 - count] == kPad) {
        ++count;
    }
    return count <= 2 ? count : kInvalid;
}

}  // namespace

std::string Base64Encode(const uint8_t* data, size_t length)
{
    std::string text;
    text.reserve((length + kTriplet - 1) / kTriplet * kQuartet);
    for (size_t i = 0; i < length; i += kTriplet) {
        const size_t left = length - i;
        const uint32_t group = (uint32_t(data[i]) << 16) | (left > 1 ? uint32_t(data[i + 1]) << 8 : 0) |
                               (left > 2 ? uint32_t(data[i + 2]) : 0);
        text += kAlphabet[(group >> 18) & 0x3F];
        text += kAlphabet[(group >> 12) & 0x3F];
        text += left > 1 ? kAlphabet[(group >> 6) & 0x3F] : kPad;
        text += left > 2 ? kAlphabet[group & 0x3F] : kPad;
    }
    return text;
}

bool Base64Decode(const char* text, size_t length, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    if (length == 0) {
        return true;
    }
    if (length % kQuartet != 0) {
        return false;
    }
    const int padding = PaddingCount(text, length);
    if (padding == kInvalid) {
        return false;
    }
    const size_t dataChars = length - padding;
    bytes.reserve(length / kQuartet * kTriplet);
    uint32_t group = 0;
    for (size_t i = 0; i < dataChars; ++i) {
        const int sextet = SextetOf(text[i]);
        if (sextet == kInvalid) {
            bytes.clear();
            return false;
        }
        group = (group << 6) | static_cast<uint32_t>(sextet);
        if (i % kQuartet == kQuartet - 1) {
            bytes.push_back(static_cast<uint8_t>(group >> 16));
            bytes.push_back(static_cast<uint8_t>(group >> 8));
            bytes.push_back(static_cast<uint8_t>(group));
            group = 0;
        }
    }
    if (padding == 2) {
        bytes.push_back(static_cast<uint8_t>(group >> 4));
    } else if (padding == 1) {
        bytes.push_back(static_cast<uint8_t>(group >> 10));
        bytes.push_back(static_cast<uint8_t>(group >> 2));
    }
    return true;
}
