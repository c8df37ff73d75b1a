#include "crypto/StringCipher.h"

#include "base/StringUtil.h"
#include "crypto/Base64.h"
#include "crypto/Blowfish.h"

#include <algorithm>

namespace {

const uint8_t* BytesOf(const std::string& text)
{
    return reinterpret_cast<const uint8_t*>(text.data());
}

}  // namespace

bool EncryptBytes(const std::vector<uint8_t>& bytes, const std::string& key, std::string& cipherText)
{
    cipherText.clear();
    BlowfishCipher cipher;
    if (bytes.empty() || !cipher.SetKey(BytesOf(key), key.size())) {
        return false;
    }
    std::vector<uint8_t> encrypted;
    if (!cipher.Encrypt(bytes.data(), bytes.size(), encrypted)) {
        return false;
    }
    cipherText = Base64Encode(encrypted.data(), encrypted.size());
    return true;
}

bool DecryptBytes(const std::string& cipherText, const std::string& key, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    if (cipherText.empty() || !Base64Decode(cipherText.data(), cipherText.size(), bytes)) {
        return false;
    }
    BlowfishCipher cipher;
    if (!cipher.SetKey(BytesOf(key), key.size())) {
        bytes.clear();
        return false;
    }
    cipher.Decrypt(bytes);
    return true;
}

std::wstring EncryptString(const std::wstring& plainText, const std::wstring& key)
{
    const std::string utf8 = ToUtf8(plainText);
    std::string cipherText;
    if (!EncryptBytes(std::vector<uint8_t>(utf8.begin(), utf8.end()), ToUtf8(key), cipherText)) {
        return std::wstring();
    }
    return std::wstring(cipherText.begin(), cipherText.end());
}

std::wstring DecryptString(const std::wstring& cipherText, const std::wstring& key)
{
    std::vector<uint8_t> bytes;
    if (!DecryptBytes(ToUtf8(cipherText), ToUtf8(key), bytes)) {
        return std::wstring();
    }
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return FromUtf8(std::string(bytes.begin(), end));
}
