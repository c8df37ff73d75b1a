// The block cipher's initial P array and S boxes: the hexadecimal digits of pi after the point.
#pragma once

#include <cstdint>

constexpr int kBlowfishPWords = 18;
constexpr int kBlowfishSBoxes = 4;
constexpr int kBlowfishSWords = 256;

extern const uint32_t kBlowfishInitialP[kBlowfishPWords];
extern const uint32_t kBlowfishInitialS[kBlowfishSBoxes][kBlowfishSWords];
