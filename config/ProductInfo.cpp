#include "config/ProductInfo.h"

#include "base/PathUtil.h"
#include "base/ScopedHandle.h"
#include "base/StringUtil.h"
#include "config/ProductConstants.h"
#include "crypto/StringCipher.h"

#include <cJSON.h>
#include <windows.h>

#include <memory>

namespace {

struct ImageDefault {
    const wchar_t* key;
    int id;
};

constexpr ImageDefault kImageDefaults[] = {
    {product::kUninstallBgKey, 305},         {product::kUninstallTopBgKey, 300},
    {product::kUninstallQuestionBgKey, 254}, {product::kUninstallFeedbackBgKey, 322},
    {product::kSetBgKey, 243},               {product::kTitlePicKey, 236},
};

// What an identity file that is missing or cannot be read stands for.
constexpr char kEmptyJson[] = "{}";

struct JsonDeleter {
    void operator()(cJSON* item) const { cJSON_Delete(item); }
};
using UniqueJson = std::unique_ptr<cJSON, JsonDeleter>;

// The whole file, or nothing when it cannot be opened or read in full.
bool ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    const DWORD size = GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE) {
        return false;
    }
    bytes.assign(size, '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), size, &read, nullptr) && read < size) {
        return false;
    }
    bytes.resize(read);
    return true;
}

// The decrypted JSON text of the identity file (empty when it does not decrypt).
std::string ReadIdentityJson(const std::wstring& exePath)
{
    std::string content;
    if (!ReadWholeFile(IdentityFilePath(exePath), content)) {
        return kEmptyJson;
    }
    return ToUtf8(DecryptString(FromUtf8(content), product::kIdentityKey));
}

// The member named key (any case) of the identity object, or null; holder keeps the parsed document alive.
const cJSON* FindMember(const std::wstring& exePath, const std::wstring& key, UniqueJson& holder)
{
    holder.reset(cJSON_Parse(ReadIdentityJson(exePath).c_str()));
    if (!holder) {
        return nullptr;
    }
    return cJSON_GetObjectItem(holder.get(), ToUtf8(key).c_str());
}

std::wstring ReadIdentityString(const std::wstring& exePath, const std::wstring& key, const std::wstring& fallback)
{
    UniqueJson holder;
    const cJSON* item = FindMember(exePath, key, holder);
    if (!cJSON_IsString(item) || item->valuestring == nullptr) {
        return fallback;
    }
    return FromUtf8(item->valuestring);
}

int ReadIdentityNumber(const std::wstring& exePath, const std::wstring& key, int fallback)
{
    UniqueJson holder;
    const cJSON* item = FindMember(exePath, key, holder);
    if (!cJSON_IsNumber(item)) {
        return fallback;
    }
    return item->valueint;
}

int DefaultImageId(const std::wstring& key)
{
    for (const ImageDefault& image : kImageDefaults) {
        if (key == image.key) {
            return image.id;
        }
    }
    return 0;
}

}  // namespace

std::wstring IdentityFilePath(const std::wstring& exePath)
{
    return PathJoin(exePath, product::kIdentityFileFromExe);
}

std::wstring GetCompany() { return GetCompany(GetModulePath()); }

std::wstring GetCompany(const std::wstring& exePath)
{
    return ReadIdentityString(exePath, product::kCompanyKey, product::kDefaultCompany);
}

std::wstring GetMainExeName() { return GetMainExeName(GetModulePath()); }

std::wstring GetMainExeName(const std::wstring& exePath)
{
    return ReadIdentityString(exePath, product::kMainExeKey, product::kDefaultMainExe);
}

std::wstring GetProductName() { return GetProductName(GetModulePath()); }

std::wstring GetProductName(const std::wstring& exePath)
{
    return ReadIdentityString(exePath, product::kNameKey, product::kDefaultProductName);
}

int GetSkinImageId(const std::wstring& key) { return GetSkinImageId(key, GetModulePath()); }

int GetSkinImageId(const std::wstring& key, const std::wstring& exePath)
{
    return ReadIdentityNumber(exePath, key, DefaultImageId(key));
}
