// The command-line switches of this process: parsed once at start, then only read.
#pragma once

#include "base/Singleton.h"

#include <map>
#include <string>

class CCommandParser : public CSingletonT<CCommandParser> {
public:
    CCommandParser() = default;
    virtual ~CCommandParser() = default;

    // Splits the tail (null counts as empty) into switches; keys are upper-cased, later ones win.
    bool Parse(const wchar_t* commandLine);

    bool HasSwitch(const std::wstring& key) const;
    // Copies the switch's value into value; leaves it unchanged and answers false when the switch is absent.
    bool GetValue(const std::wstring& key, std::wstring& value) const;
    bool IsSilent() const;

private:
    std::wstring commandLine_;
    bool parsed_ = false;
    std::map<std::wstring, std::wstring> switches_;
};

namespace switches {
inline constexpr wchar_t kSilent[] = L"/S";
inline constexpr wchar_t kReadyUninstall[] = L"/READYUNINSTALL";
inline constexpr wchar_t kReRegister[] = L"/K";
inline constexpr wchar_t kCallToken[] = L"/CHK";
}  // namespace switches
