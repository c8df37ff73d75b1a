// Reading the servers' JSON answers: a parsed document that deletes itself, and member accessors that fall
// back to a default unless the member has the expected type. Member names match case-insensitively.
#pragma once

#include <cJSON.h>

#include <memory>
#include <string>

struct JsonDeleter {
    void operator()(cJSON* item) const { cJSON_Delete(item); }
};
using JsonDocument = std::unique_ptr<cJSON, JsonDeleter>;

// The parsed body, or null when it is not well-formed JSON.
JsonDocument ParseJson(const char* text);

int GetJsonInt(const cJSON* object, const char* name, int defaultValue);
std::string GetJsonString(const cJSON* object, const char* name, const std::string& defaultValue);
std::wstring GetJsonStringW(const cJSON* object, const char* name, const std::wstring& defaultValue,
                            unsigned codePage);
cJSON* GetJsonItem(const cJSON* object, const char* name);

// True when the answer's root is an object whose "errno" is the number 0.
bool IsSuccessAnswer(const cJSON* root);
