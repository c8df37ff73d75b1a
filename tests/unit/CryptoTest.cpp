#include "crypto/Base64.h"
#include "crypto/Blowfish.h"
#include "crypto/Sha1.h"
#include "crypto/StringCipher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> FromHex(const std::string& hex)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

std::string ToHex(const uint8_t* bytes, size_t length)
{
    std::string hex;
    char digits[3];
    for (size_t i = 0; i < length; ++i) {
        std::snprintf(digits, sizeof(digits), "%02x", bytes[i]);
        hex += digits;
    }
    return hex;
}

// ---- SHA-1 ----

const std::string kTwoBlockMessage = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
const std::string kMillionA(1000000, 'a');

struct Sha1Case {
    const char* name;
    std::string message;
    const char* digest;
};

// Hashes message in updates whose sizes cycle through chunks (the whole message at once when empty).
std::string Sha1Hex(const std::string& message, const std::vector<size_t>& chunks = {})
{
    Sha1Context context;
    EXPECT_EQ(Sha1Init(context), 1);
    const uint8_t* data = reinterpret_cast<const uint8_t*>(message.data());
    size_t offset = 0;
    for (size_t i = 0; offset < message.size(); ++i) {
        const size_t size = chunks.empty() ? message.size() : std::min(chunks[i % chunks.size()], message.size() - offset);
        EXPECT_EQ(Sha1Update(context, data + offset, size), 1);
        offset += size;
    }
    uint8_t digest[kSha1DigestSize];
    EXPECT_EQ(Sha1Final(digest, context), 1);
    return ToHex(digest, sizeof(digest));
}

const Sha1Case kSha1Cases[] = {
    {"Empty", "", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
    {"Abc", "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
    {"TwoBlocks448Bits", kTwoBlockMessage, "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
    {"TwoBlocks896Bits",
     "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrst"
     "nopqrstu",
     "a49b2446a02c645bf419f995b67091253a04a259"},
    {"MillionA", kMillionA, "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
    // Lengths around the point where the length field no longer fits into the last block.
    {"A55", std::string(55, 'a'), "c1c8bbdc22796e28c0e15163d20899b65621d65a"},
    {"A56", std::string(56, 'a'), "c2db330f6083854c99d4b5bfb6e8f29f201be699"},
    {"A63", std::string(63, 'a'), "03f09f5b158a7a8cdad920bddc29b81c18a551f5"},
    {"A64", std::string(64, 'a'), "0098ba824b5c16427bd7a1122a5a442a25ec644d"},
    {"A65", std::string(65, 'a'), "11655326c708d70319be2610e8a57d9a5b959d3b"},
};

class Sha1Vectors : public testing::TestWithParam<Sha1Case> {};

TEST_P(Sha1Vectors, OneUpdateGivesTheDigest)
{
    EXPECT_EQ(Sha1Hex(GetParam().message), GetParam().digest);
}

INSTANTIATE_TEST_SUITE_P(Fips180, Sha1Vectors, testing::ValuesIn(kSha1Cases),
                         [](const testing::TestParamInfo<Sha1Case>& info) { return std::string(info.param.name); });

struct Sha1SplitCase {
    const char* name;
    std::vector<size_t> chunks;
};

class Sha1SplitUpdates : public testing::TestWithParam<Sha1SplitCase> {};

TEST_P(Sha1SplitUpdates, GiveTheSameDigestAsOneUpdate)
{
    const std::vector<size_t>& chunks = GetParam().chunks;
    EXPECT_EQ(Sha1Hex(kTwoBlockMessage, chunks), "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    EXPECT_EQ(Sha1Hex(kMillionA, chunks), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, Sha1SplitUpdates,
    testing::Values(Sha1SplitCase{"Bytewise", {1}}, Sha1SplitCase{"By63", {63}}, Sha1SplitCase{"By64", {64}},
                    Sha1SplitCase{"By65", {65}}, Sha1SplitCase{"Mixed", {1, 63, 64, 65, 0, 127}}),
    [](const testing::TestParamInfo<Sha1SplitCase>& info) { return std::string(info.param.name); });

// ---- Base64 ----

struct Base64Case {
    std::string bytes;
    const char* text;
};

class Base64Pairs : public testing::TestWithParam<Base64Case> {};

TEST_P(Base64Pairs, EncodeAndDecodeAreInverse)
{
    const Base64Case& c = GetParam();
    const std::vector<uint8_t> bytes = Bytes(c.bytes);
    EXPECT_EQ(Base64Encode(bytes.data(), bytes.size()), c.text);
    std::vector<uint8_t> decoded = {0x55};
    ASSERT_TRUE(Base64Decode(c.text, std::string(c.text).size(), decoded));
    EXPECT_EQ(decoded, bytes);
}

INSTANTIATE_TEST_SUITE_P(Rfc4648, Base64Pairs,
                         testing::Values(Base64Case{"", ""}, Base64Case{"f", "Zg=="}, Base64Case{"fo", "Zm8="},
                                         Base64Case{"foo", "Zm9v"}, Base64Case{"foob", "Zm9vYg=="},
                                         Base64Case{"fooba", "Zm9vYmE="}, Base64Case{"foobar", "Zm9vYmFy"},
                                         Base64Case{"\xFB\xFF\xBF", "+/+/"},
                                         Base64Case{std::string("\0\0\0\0", 4), "AAAAAA=="}));

class Base64Rejects : public testing::TestWithParam<const char*> {};

TEST_P(Base64Rejects, MalformedText)
{
    const std::string text = GetParam();
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(Base64Decode(text.data(), text.size(), bytes));
    EXPECT_TRUE(bytes.empty());
}

INSTANTIATE_TEST_SUITE_P(Strict, Base64Rejects,
                         testing::Values("Zm9vY",        // five characters
                                         "Zm9",          // three characters
                                         "Zm9vYg=",      // padding short of a quartet
                                         "Zm9\nYmFy",    // line break
                                         "Zm9vYmFy\r\n", // trailing line break
                                         " Zg=",         // white space
                                         "Zm=vYg==",     // "=" in the middle
                                         "Zg=A",         // "=" before a data character
                                         "Z===",         // three "="
                                         "====",         // nothing but padding
                                         "Zm9v-_==",     // URL-safe alphabet
                                         "Zm9v\x80Yg="));

TEST(Base64, DecodesAllSixtyFourCharacters)
{
    const std::string text = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(Base64Decode(text.data(), text.size(), bytes));
    ASSERT_EQ(bytes.size(), 48u);
    EXPECT_EQ(Base64Encode(bytes.data(), bytes.size()), text);
}

// ---- Blowfish ----

struct BlowfishCase {
    std::string key;
    std::string plain;
    std::string cipher;
};

class BlowfishVectors : public testing::TestWithParam<BlowfishCase> {};

TEST_P(BlowfishVectors, EncryptAndDecryptOneBlock)
{
    const BlowfishCase& c = GetParam();
    const std::vector<uint8_t> key = FromHex(c.key);
    BlowfishCipher cipher;
    ASSERT_TRUE(cipher.SetKey(key.data(), key.size()));
    const std::vector<uint8_t> plain = FromHex(c.plain);
    std::vector<uint8_t> encrypted;
    ASSERT_TRUE(cipher.Encrypt(plain.data(), plain.size(), encrypted));
    EXPECT_EQ(ToHex(encrypted.data(), encrypted.size()), ToHex(FromHex(c.cipher).data(), 8));
    cipher.Decrypt(encrypted);
    EXPECT_EQ(encrypted, plain);
}

const char kVariableKey[] = "F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677";

std::string KeyPrefix(size_t bytes)
{
    return std::string(kVariableKey, 2 * bytes);
}

INSTANTIATE_TEST_SUITE_P(
    PublishedEcb, BlowfishVectors,
    testing::Values(BlowfishCase{"0000000000000000", "0000000000000000", "4EF997456198DD78"},
                    BlowfishCase{"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
                    BlowfishCase{"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
                    BlowfishCase{"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
                    BlowfishCase{"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
                    BlowfishCase{"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
                    BlowfishCase{"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
                    BlowfishCase{"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"}));

// Keys of 1 to 24 bytes: short keys repeat cyclically through the P array.
std::vector<BlowfishCase> VariableKeyCases()
{
    static const char* const kCiphers[] = {
        "F9AD597C49DB005E", "E91D21C1D961A6D6", "E9C2B70A1BC65CF3", "BE1E639408640F05", "B39E44481BDB1E6E",
        "9457AA83B1928C0D", "8BB77032F960629D", "E87A244E2CC85E82", "15750E7A4F4EC577", "122BA70B3AB64AE0",
        "3A833C9AFFC537F6", "9409DA87A90F6BF2", "884F80625060B8B4", "1F85031C19E11968", "79D9373A714CA34F",
        "93142887EE3BE15C", "03429E838CE2D14B", "A4299E27469FF67B", "AFD5AED1C1BC96A8", "10851C0E3858DA9F",
        "E6F51ED79B9DB21F", "64A6E14AFD36B46F", "80C7D7D45A5479AD", "05044B62FA52D080"};
    std::vector<BlowfishCase> cases;
    for (size_t i = 0; i < std::size(kCiphers); ++i) {
        cases.push_back({KeyPrefix(i + 1), "FEDCBA9876543210", kCiphers[i]});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(VariableKeyLength, BlowfishVectors, testing::ValuesIn(VariableKeyCases()));

TEST(Blowfish, RefusesAnEmptyKey)
{
    BlowfishCipher cipher;
    const uint8_t key = 0;
    EXPECT_FALSE(cipher.SetKey(&key, 0));
    EXPECT_FALSE(cipher.SetKey(nullptr, 8));
}

TEST(Blowfish, KeyBytesAfterTheSeventySecondHaveNoEffect)
{
    std::vector<uint8_t> key(72);
    for (size_t i = 0; i < key.size(); ++i) {
        key[i] = static_cast<uint8_t>(i * 7 + 1);
    }
    std::vector<uint8_t> longKey = key;
    longKey.insert(longKey.end(), {0xAA, 0xBB, 0xCC});
    std::vector<uint8_t> changedKey = key;
    changedKey[71] ^= 1;

    const std::vector<uint8_t> plain = Bytes("8 bytes!");
    std::vector<uint8_t> expected, withLongKey, withChangedKey;
    BlowfishCipher cipher;
    ASSERT_TRUE(cipher.SetKey(key.data(), key.size()));
    ASSERT_TRUE(cipher.Encrypt(plain.data(), plain.size(), expected));
    ASSERT_TRUE(cipher.SetKey(longKey.data(), longKey.size()));
    ASSERT_TRUE(cipher.Encrypt(plain.data(), plain.size(), withLongKey));
    ASSERT_TRUE(cipher.SetKey(changedKey.data(), changedKey.size()));
    ASSERT_TRUE(cipher.Encrypt(plain.data(), plain.size(), withChangedKey));
    EXPECT_EQ(withLongKey, expected);
    EXPECT_NE(withChangedKey, expected);
}

TEST(Blowfish, PadsWithZerosToWholeBlocksAndEncryptsEachBlockAlone)
{
    const std::vector<uint8_t> key = FromHex("0123456789ABCDEF");
    BlowfishCipher cipher;
    ASSERT_TRUE(cipher.SetKey(key.data(), key.size()));
    const std::vector<uint8_t> plain = FromHex("111111111111111111");  // 9 bytes
    std::vector<uint8_t> encrypted;
    ASSERT_TRUE(cipher.Encrypt(plain.data(), plain.size(), encrypted));
    ASSERT_EQ(encrypted.size(), 16u);
    EXPECT_EQ(ToHex(encrypted.data(), 8), "61f9c3802281b096");

    std::vector<uint8_t> lastBlock(encrypted.begin() + 8, encrypted.end());
    cipher.Decrypt(lastBlock);
    EXPECT_EQ(ToHex(lastBlock.data(), lastBlock.size()), "1100000000000000");

    std::vector<uint8_t> nothing;
    EXPECT_FALSE(cipher.Encrypt(plain.data(), 0, nothing));
    EXPECT_TRUE(nothing.empty());
}

// ---- String and byte cipher ----

struct StringCipherCase {
    const wchar_t* text;
    size_t utf8Length;
    size_t base64Length;
};

class StringCipherLengths : public testing::TestWithParam<StringCipherCase> {};

TEST_P(StringCipherLengths, PadToWholeBlocksAndRoundTrip)
{
    const StringCipherCase& c = GetParam();
    const std::wstring key = L"k\u51EF\u6D1B";
    const std::wstring encrypted = EncryptString(c.text, key);
    EXPECT_EQ(encrypted.size(), c.base64Length);
    const size_t paddedBytes = BlowfishPaddedLength(c.utf8Length);
    const size_t expectedPads = (3 - paddedBytes % 3) % 3;
    EXPECT_EQ(encrypted.size() - encrypted.find_last_not_of(L'=') - 1, expectedPads);
    EXPECT_EQ(DecryptString(encrypted, key), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StringCipherLengths,
    testing::Values(StringCipherCase{L"a", 1, 12},                                 //
                    StringCipherCase{L"1234567", 7, 12},                           //
                    StringCipherCase{L"12345678", 8, 12},                          // one block, no extra block
                    StringCipherCase{L"123456789", 9, 24},                         //
                    StringCipherCase{L"0123456789abcdef", 16, 24},                 //
                    StringCipherCase{L"0123456789abcdefg", 17, 32},                //
                    StringCipherCase{L"\u51EF\u6D1B", 6, 12},                      // 凯洛
                    StringCipherCase{L"ab\u51EF\u6D1B", 8, 12},                    // ab凯洛
                    StringCipherCase{L"\u51EF\u6D1B\u58C1\u7EB8", 12, 24},         // 凯洛壁纸
                    StringCipherCase{L"\u51EF\u6D1B\u58C1\u7EB8ab\u51EF\u6D1B", 24, 32},
                    StringCipherCase{L"caf\u00E9 \U0001F600", 10, 24}));  // two- and four-byte sequences

struct KnownCipherText {
    const wchar_t* text;
    const wchar_t* key;
    const wchar_t* cipherText;
};

class StringCipherKnownAnswers : public testing::TestWithParam<KnownCipherText> {};

// Cipher texts made by an independent Blowfish ECB implementation over the zero-padded UTF-8 bytes.
TEST_P(StringCipherKnownAnswers, MatchIndependentImplementation)
{
    const KnownCipherText& c = GetParam();
    EXPECT_EQ(EncryptString(c.text, c.key), c.cipherText);
    EXPECT_EQ(DecryptString(c.cipherText, c.key), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Independent, StringCipherKnownAnswers,
    testing::Values(KnownCipherText{L"hello", L"0123456789abcdef", L"YcJPQ3hiizA="},
                    KnownCipherText{L"12345678", L"secret", L"OouXtpaUA6w="},
                    KnownCipherText{L"\u51EF\u6D1B\u58C1\u7EB8", L"\u51EF\u6D1B\u58C1\u7EB8",
                                    L"nws1K3G4D3d9zxzgQizalw=="}));

TEST(StringCipher, EmptyTextOrKeyFailsToEncrypt)
{
    EXPECT_EQ(EncryptString(L"", L"key"), L"");
    EXPECT_EQ(EncryptString(L"text", L""), L"");
}

TEST(StringCipher, TextIsCutAtAZeroCharacter)
{
    const std::wstring text(L"abc\0def", 7);
    const std::wstring encrypted = EncryptString(text, L"key");
    EXPECT_EQ(encrypted.size(), 12u);
    EXPECT_EQ(DecryptString(encrypted, L"key"), L"abc");
}

TEST(StringCipher, WrongKeyGivesOtherTextWithoutFailing)
{
    const std::wstring text = L"\u51EF\u6D1B\u58C1\u7EB8 identity";
    const std::wstring encrypted = EncryptString(text, L"right key");
    EXPECT_NE(DecryptString(encrypted, L"wrong key"), text);
    EXPECT_NE(DecryptString(encrypted, L"right ke"), text);
}

class StringCipherDamagedInput : public testing::TestWithParam<const wchar_t*> {};

TEST_P(StringCipherDamagedInput, DecryptsToEmptyText)
{
    EXPECT_EQ(DecryptString(GetParam(), L"key"), L"");
}

INSTANTIATE_TEST_SUITE_P(Texts, StringCipherDamagedInput,
                         testing::Values(L"",                              // nothing
                                         L"YcJPQ3hiizA",                   // length not a multiple of 4
                                         L"YcJPQ3hiizA=\r\n",              // trailing line break
                                         L"YcJP Q3hiizA=",                 // inner space
                                         L"YcJ=Q3hiizA=",                  // padding in the middle
                                         L"YcJPQ3hi!zA=",                  // character outside the alphabet
                                         L"\u51EF\u6D1B\u58C1\u7EB8"));    // not ASCII at all

TEST(StringCipher, EmptyKeyFailsToDecrypt)
{
    EXPECT_EQ(DecryptString(L"YcJPQ3hiizA=", L""), L"");
    std::vector<uint8_t> bytes = {1};
    EXPECT_FALSE(DecryptBytes("YcJPQ3hiizA=", "", bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(ByteCipher, SixteenBytesGiveTwentyFourCharactersEndingInPadding)
{
    std::string text;
    ASSERT_TRUE(EncryptBytes(Bytes("0123456789ABCDEF"), "key", text));
    EXPECT_EQ(text.size(), 24u);
    EXPECT_EQ(text.substr(22), "==");
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(DecryptBytes(text, "key", bytes));
    EXPECT_EQ(bytes, Bytes("0123456789ABCDEF"));
}

TEST(ByteCipher, KeepsBytesUnchangedAndReturnsThePadding)
{
    const std::vector<uint8_t> plain = {0x00, 0xFF, 0x80, 0x7F, 0x01};
    const std::string key("\x00\xFE", 2);
    std::string text;
    ASSERT_TRUE(EncryptBytes(plain, key, text));
    EXPECT_EQ(text.size(), 12u);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(DecryptBytes(text, key, bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x00, 0xFF, 0x80, 0x7F, 0x01, 0, 0, 0}));
}

TEST(ByteCipher, EmptyInputFails)
{
    std::string text = "stale";
    EXPECT_FALSE(EncryptBytes({}, "key", text));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(EncryptBytes(Bytes("data"), "", text));
    std::vector<uint8_t> bytes = {1};
    EXPECT_FALSE(DecryptBytes("", "key", bytes));
    EXPECT_TRUE(bytes.empty());
}

// A decoded length that is not whole blocks is decrypted with zeros completing the last block, then cut back.
TEST(ByteCipher, PartialLastBlockKeepsTheDecodedCount)
{
    std::string text;
    ASSERT_TRUE(EncryptBytes(Bytes("0123456789ABCDEF"), "key", text));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(DecryptBytes(text.substr(0, 12), "key", bytes));  // 9 of the 16 bytes
    ASSERT_EQ(bytes.size(), 9u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "01234567");
    EXPECT_EQ(DecryptString(std::wstring(text.begin(), text.begin() + 12), L"key").substr(0, 8), L"01234567");
}

}  // namespace
