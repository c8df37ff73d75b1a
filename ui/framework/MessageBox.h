// The program's modal message box, suppressed entirely in silent runs.
#pragma once

namespace msgbox {
inline constexpr int kOk = 0;
inline constexpr int kYesNo = 4;
inline constexpr int kSilentResult = -1;
}  // namespace msgbox

class CMessageBox {
public:
    static void SetSilent(bool silent);
    // Shows text with an OK (type 0) or Yes/No (type 4) button set, modal and without owner;
    // answers the pressed button's identifier, or -1 at once when silent.
    static int Show(const wchar_t* text, int type);

private:
    static bool silent_;
};
