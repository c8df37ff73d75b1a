// Registry places of the machine identifier caches, shared with the maker's other programs.
#pragma once

namespace machine_id {

// mid: an ANSI text of the 32-character id followed by its 32-character check.
constexpr wchar_t kMidKey[] = L"Software\\Torvin2\\Rodizo";
constexpr char kMidValue[] = "mid";
constexpr char kMidOldValue[] = "mid_old";

// mid2: a wide text of 44 characters, in the 32-bit registry view.
constexpr wchar_t kMid2Key[] = L"SOFTWARE\\ComTorvin";
constexpr wchar_t kMid2Value[] = L"m2";
constexpr wchar_t kMid2OldValue[] = L"m2_old";

}  // namespace machine_id
