// The two machine identifiers: mid (32 hexadecimal characters, keys the start-up call token and
// goes with statistics) and mid2 (44 characters with flags and a checksum, goes with statistics).
#pragma once

#include <windows.h>

#include <string>

class IMachineIdSources;

constexpr int kMidChars = 32;
constexpr int kMid2MinCapacity = 50;

// Writes mid, cut to capacity - 1 characters and terminated; nothing for a null buffer.
void GetMid(char* buffer, int capacity);

// mid converted with the thread's ANSI code page; false for a null buffer or zero capacity.
bool GetMidW(wchar_t* buffer, int capacity);

// mid2 into a buffer of at least 50 characters (else E_INVALIDARG); computed once per process.
HRESULT GetMid2(wchar_t* buffer, int capacity);

// mid from the cache when its check holds, else from the given sources (stored unless nothing
// could be read).
std::string ComputeMid(IMachineIdSources& sources);
