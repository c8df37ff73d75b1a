// The program's message box: shown from its dialog template, drawn by its control tree, answered with
// real mouse clicks on its drawn buttons, and never shown in silent mode.
#include "tests/ui/UiTestSupport.h"
#include "ui/framework/MessageBox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr wchar_t kText[] = L"卸载程序已被破坏，请重新下载安装后再进行卸载";

BOOL CALLBACK MatchOwnDialog(HWND window, LPARAM param)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(window) && wcscmp(name, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog window of this process, or null.
HWND FindOwnDialog()
{
    HWND found = nullptr;
    EnumWindows(MatchOwnDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// What the user does with the box: click at a client point, or close it from outside.
struct Answer {
    int x = -1;
    int y = -1;
    bool close = false;
};

// Answers the box that the test thread shows, from another thread as the user would.
class BoxAnswerer {
public:
    BoxAnswerer(Answer answer, const std::wstring& shot) : thread_([=] { Run(answer, shot); }) {}
    ~BoxAnswerer() { thread_.join(); }

    std::wstring text;
    RECT rect = {};
    DWORD exStyle = 0;

private:
    void Run(Answer answer, const std::wstring& shot)
    {
        HWND box = nullptr;
        for (int i = 0; i < 200 && box == nullptr; ++i) {
            Sleep(25);
            box = FindOwnDialog();
        }
        if (box == nullptr) {
            return;
        }
        Sleep(300);
        wchar_t buffer[256] = {};
        GetWindowTextW(box, buffer, 256);
        text = buffer;
        GetWindowRect(box, &rect);
        exStyle = static_cast<DWORD>(GetWindowLongW(box, GWL_EXSTYLE));
        if (!shot.empty()) {
            uitest::TakeScreenshot(shot);
        }
        if (answer.close) {
            PostMessageW(box, WM_CLOSE, 0, 0);
            return;
        }
        SetCursorPos(rect.left + answer.x, rect.top + answer.y);
        Sleep(150);
        INPUT input[2] = {};
        input[0].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].type = INPUT_MOUSE;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(1, &input[0], sizeof(INPUT));
        Sleep(100);
        SendInput(1, &input[1], sizeof(INPUT));
    }

    std::thread thread_;
};

struct BoxCase {
    const char* name;
    int type;
    Answer answer;
    int expected;
};

// Buttons: primary (right) at 416..522 x 195..235, secondary (left) at 290..396, close at 504..522 x 16..34.
constexpr Answer kPrimary = {469, 215, false};
constexpr Answer kSecondary = {343, 215, false};
constexpr Answer kCloseButton = {513, 25, false};
constexpr Answer kWindowClose = {-1, -1, true};

class MessageBoxTest : public testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxTest, AnswersTheClickedButton)
{
    const BoxCase& c = GetParam();
    CMessageBox::SetSilent(false);
    int result = 0;
    std::wstring text;
    RECT rect = {};
    DWORD exStyle = 0;
    // The first case keeps a screenshot of the box to look at.
    const std::wstring shot = std::string(c.name) == "yes" ? uitest::ShotPath(L"message-box") : L"";
    {
        BoxAnswerer answerer(c.answer, shot);
        result = CMessageBox::Show(kText, c.type);
        text = answerer.text;
        rect = answerer.rect;
        exStyle = answerer.exStyle;
    }
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(text, kText);
    EXPECT_EQ(rect.right - rect.left, msgbox::kWidth);
    EXPECT_EQ(rect.bottom - rect.top, msgbox::kHeight);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(FindOwnDialog(), nullptr);
    if (!shot.empty()) {
        // The drawn surface: the title band of the background picture and the secondary button's frame.
        EXPECT_EQ(uitest::ShotPixel(shot, rect.left + 300, rect.top + 10), 0x23406Bu);
        EXPECT_EQ(uitest::ShotPixel(shot, rect.left + 300, rect.top + 200), 0xF0F0F0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Buttons, MessageBoxTest,
                         testing::Values(BoxCase{"yes", msgbox::kYesNo, kPrimary, IDYES},
                                         BoxCase{"no", msgbox::kYesNo, kSecondary, IDNO},
                                         BoxCase{"closeButton", msgbox::kYesNo, kCloseButton, msgbox::kClosed},
                                         BoxCase{"windowClose", msgbox::kYesNo, kWindowClose, msgbox::kClosed},
                                         BoxCase{"ok", msgbox::kOk, kPrimary, IDOK},
                                         BoxCase{"cancel", msgbox::kOkCancel, kPrimary, IDCANCEL},
                                         BoxCase{"okOfTwo", msgbox::kOkCancel, kSecondary, IDOK},
                                         BoxCase{"noButtonsOnlyClose", 9, kCloseButton, msgbox::kClosed}),
                         [](const testing::TestParamInfo<BoxCase>& info) { return info.param.name; });

TEST(MessageBoxSilentTest, AnswersMinusOneAtOnceAndShowsNothing)
{
    CMessageBox::SetSilent(true);
    std::atomic<bool> seen{false};
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        while (!done) {
            seen = seen || FindOwnDialog() != nullptr;
            Sleep(10);
        }
    });
    for (const int type : {msgbox::kOk, msgbox::kOkCancel, msgbox::kYesNo, 9}) {
        const DWORD start = GetTickCount();
        EXPECT_EQ(CMessageBox::Show(kText, type), msgbox::kNoAnswer);
        EXPECT_LT(GetTickCount() - start, 100u);
    }
    Sleep(100);
    done = true;
    watcher.join();
    EXPECT_FALSE(seen);
    CMessageBox::SetSilent(false);
}

}  // namespace
