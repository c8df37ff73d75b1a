// Small string helpers: trimming, case conversion, printf-style formatting, UTF-8 and hexadecimal text.
#pragma once

#include <cstdarg>
#include <string>

// Removes the C library's wide white space from both ends.
std::wstring Trim(const std::wstring& text);

// Upper-cases with the C library's rules in the process locale.
std::wstring ToUpper(const std::wstring& text);

// Compares ignoring case.
bool EqualsNoCase(const std::wstring& a, const std::wstring& b);

// printf-style formatting into a wide string of any length.
std::wstring FormatString(const wchar_t* format, ...);
std::wstring FormatStringV(const wchar_t* format, va_list args);

// UTF-16 to UTF-8 and back, embedded zero characters kept; invalid input becomes replacement characters.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// Bytes as lower-case hexadecimal digits, two per byte.
std::string ToLowerHex(const unsigned char* bytes, size_t count);

// Removes blanks (spaces only) from both ends of a narrow text.
std::string TrimBlanks(const std::string& text);
