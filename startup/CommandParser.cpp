#include "startup/CommandParser.h"

#include "base/ScopedHandle.h"
#include "base/StringUtil.h"

#include <windows.h>
#include <shellapi.h>

namespace {

std::wstring Unquote(std::wstring value)
{
    if (!value.empty() && value.front() == L'"') {
        value.erase(0, 1);
    }
    if (!value.empty() && value.back() == L'"') {
        value.pop_back();
    }
    return value;
}

}  // namespace

bool CCommandParser::Parse(const wchar_t* commandLine)
{
    commandLine_ = commandLine != nullptr ? commandLine : L"";
    parsed_ = true;
    switches_.clear();

    int count = 0;
    LPWSTR* args = CommandLineToArgvW(commandLine_.c_str(), &count);
    if (args == nullptr) {
        return true;
    }
    UniqueLocalMem owner(reinterpret_cast<HLOCAL>(args));
    for (int i = 0; i < count; ++i) {
        const std::wstring arg = args[i];
        const size_t equals = arg.find(L'=');
        std::wstring key = Trim(arg.substr(0, equals));
        std::wstring value;
        if (equals != std::wstring::npos) {
            value = Unquote(Trim(arg.substr(equals + 1)));
        }
        switches_[ToUpper(key)] = value;
    }
    return true;
}

bool CCommandParser::HasSwitch(const std::wstring& key) const { return switches_.count(ToUpper(key)) != 0; }

bool CCommandParser::GetValue(const std::wstring& key, std::wstring& value) const
{
    const auto found = switches_.find(ToUpper(key));
    if (found == switches_.end()) {
        return false;
    }
    value = found->second;
    return true;
}

bool CCommandParser::IsSilent() const { return HasSwitch(switches::kSilent); }
