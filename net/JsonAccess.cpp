#include "net/JsonAccess.h"

#include <windows.h>

JsonDocument ParseJson(const char* text)
{
    if (text == nullptr) {
        return JsonDocument();
    }
    return JsonDocument(cJSON_Parse(text));
}

cJSON* GetJsonItem(const cJSON* object, const char* name)
{
    if (object == nullptr || name == nullptr || !cJSON_IsObject(object)) {
        return nullptr;
    }
    return cJSON_GetObjectItem(object, name);
}

int GetJsonInt(const cJSON* object, const char* name, int defaultValue)
{
    const cJSON* item = GetJsonItem(object, name);
    return cJSON_IsNumber(item) ? item->valueint : defaultValue;
}

std::string GetJsonString(const cJSON* object, const char* name, const std::string& defaultValue)
{
    const cJSON* item = GetJsonItem(object, name);
    return cJSON_IsString(item) && item->valuestring != nullptr ? std::string(item->valuestring) : defaultValue;
}

std::wstring GetJsonStringW(const cJSON* object, const char* name, const std::wstring& defaultValue,
                            unsigned codePage)
{
    const cJSON* item = GetJsonItem(object, name);
    if (!cJSON_IsString(item) || item->valuestring == nullptr) {
        return defaultValue;
    }
    const int length = MultiByteToWideChar(codePage, 0, item->valuestring, -1, nullptr, 0);
    if (length <= 1) {
        return std::wstring();
    }
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, item->valuestring, -1, &text[0], length);
    text.resize(static_cast<size_t>(length - 1));
    return text;
}

bool IsSuccessAnswer(const cJSON* root) { return GetJsonInt(root, "errno", 1) == 0; }
