#include "startup/CommandParser.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SwitchCase {
    const wchar_t* line;
    const wchar_t* key;
    bool present;
    const wchar_t* value;  // expected value when present
};

class CommandParserCases : public testing::TestWithParam<SwitchCase> {};

TEST_P(CommandParserCases, AnswersPresenceAndValue)
{
    const SwitchCase& c = GetParam();
    CCommandParser parser;
    ASSERT_TRUE(parser.Parse(c.line));
    EXPECT_EQ(parser.HasSwitch(c.key), c.present);
    std::wstring value = L"unchanged";
    EXPECT_EQ(parser.GetValue(c.key, value), c.present);
    EXPECT_EQ(value, c.present ? std::wstring(c.value) : std::wstring(L"unchanged"));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandParserCases,
    testing::Values(SwitchCase{L"/S", L"/s", true, L""},                       //
                    SwitchCase{L"/s", L"/S", true, L""},                       //
                    SwitchCase{L"/S=1", L"/S", true, L"1"},                    //
                    SwitchCase{L"-S", L"/S", false, L""},                      //
                    SwitchCase{L"S", L"/S", false, L""},                       //
                    SwitchCase{L"/CHK=abc==", L"/CHK", true, L"abc=="},        // only the first = separates
                    SwitchCase{L"/CHK=a /CHK=b", L"/CHK", true, L"b"},         // the later one wins
                    SwitchCase{L"/X \"/CHK= \\\"x y\\\" \"", L"/chk", true, L"x y"},  // trimmed, then unquoted
                    SwitchCase{L"/X /CHK=\\\"", L"/CHK", true, L""},           // a lone quote becomes empty
                    SwitchCase{L"=x", L"", true, L"x"},                        // the empty key
                    SwitchCase{L"\" /k \"", L"/K", true, L""},                 // keys are trimmed
                    SwitchCase{L"/foo  /READYUNINSTALL", L"/readyuninstall", true, L""}));

TEST(CommandParser, SilentFollowsTheSSwitchOnly)
{
    CCommandParser parser;
    parser.Parse(L"/S=0 /READYUNINSTALL");
    EXPECT_TRUE(parser.IsSilent());
    parser.Parse(L"/SILENT");
    EXPECT_FALSE(parser.IsSilent());
}

TEST(CommandParser, EmptyTailStoresOnlyTheExecutablePath)
{
    CCommandParser parser;
    parser.Parse(nullptr);
    EXPECT_FALSE(parser.IsSilent());
    EXPECT_FALSE(parser.HasSwitch(L"/READYUNINSTALL"));
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_TRUE(parser.HasSwitch(exe));
}

TEST(CommandParser, ParseStartsFromAnEmptyTable)
{
    CCommandParser parser;
    parser.Parse(L"/S /K");
    parser.Parse(L"/READYUNINSTALL");
    EXPECT_FALSE(parser.HasSwitch(L"/S"));
    EXPECT_FALSE(parser.HasSwitch(L"/K"));
    EXPECT_TRUE(parser.HasSwitch(L"/READYUNINSTALL"));
}

}  // namespace
