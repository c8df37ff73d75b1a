// Encoding of request fields as an application/x-www-form-urlencoded body.
#pragma once

#include <string>
#include <utility>
#include <vector>

using FormFields = std::vector<std::pair<std::string, std::string>>;

// Percent-encodes every byte but the unreserved ones; a blank becomes "+".
std::string FormEscape(const std::string& bytes);

// "name=value&name=value" in the order the fields were added.
std::string EncodeForm(const FormFields& fields);

// UTF-16 to UTF-8; empty for empty input.
std::string WideToUtf8(const wchar_t* text);
