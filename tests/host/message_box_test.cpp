#include "host/message_box.h"

#include "tests/host/test_blocks.h"
#include "tests/support/program_answers.h"
#include "tests/support/windows.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace korvanta {
namespace {

// What a helper thread saw of the box while the test's thread was inside ShowMessage.
struct BoxView : test::MessageBoxView {
    bool found = false, thread_window_enabled = true;
};

constexpr int kEscape = -1; // press Esc instead of a button

class MessageBoxOnScreen : public ::testing::Test {
protected:
    // A top-level window of the test's thread, to see what the box's modality does to it.
    HWND thread_window = CreateWindowExA(0, "STATIC", "korvanta", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                         100, nullptr, nullptr, nullptr, nullptr);
    ~MessageBoxOnScreen() override { DestroyWindow(thread_window); }

    // Runs show on this thread while a helper reads the box and presses `press`.
    BoxView Show(const std::function<int32_t()> &show, int press, int32_t &result) {
        std::atomic<bool> returned{false};
        BoxView view;
        std::thread watcher([&] {
            HWND box = nullptr;
            while (!box && !returned) {
                box = test::FindMessageBox(GetCurrentProcessId());
                Sleep(10);
            }
            if (!box)
                return;
            view = {test::ReadMessageBox(box), true, IsWindowEnabled(thread_window) != FALSE};
            if (press == kEscape)
                PostMessageA(GetDlgItem(box, view.buttons.at(0)), WM_KEYDOWN, VK_ESCAPE, 0);
            else
                test::PressBoxButton(box, press);
        });
        result = show();
        returned = true;
        watcher.join();
        return view;
    }
};

TEST_F(MessageBoxOnScreen, ReplaceNoticeHasTheDefaultCaptionOneOkAndNoIcon) {
    int32_t result = -1;
    BoxView view = Show([] { return ShowMessage("替换成功"); }, IDOK, result);
    ASSERT_TRUE(view.found);
    EXPECT_EQ(view.caption, test::kDefaultCaption);
    EXPECT_EQ(view.text, test::kSuccess);
    EXPECT_EQ(view.buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(view.icon);
    // Task-modal: the thread's own windows take no input while the box is up.
    EXPECT_FALSE(view.thread_window_enabled);
    EXPECT_FALSE(view.topmost);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(IsWindowEnabled(thread_window));
}

TEST_F(MessageBoxOnScreen, EachButtonGivesItsCode) {
    struct Case {
        int32_t flags;
        int press;
        int32_t code;
    };
    const Case cases[] = {{MB_YESNO, IDYES, 5},
                          {MB_YESNO, IDNO, 6},
                          {MB_OKCANCEL, IDCANCEL, 1},
                          {MB_OKCANCEL, kEscape, 1},
                          {MB_ABORTRETRYIGNORE, IDABORT, 2},
                          {MB_ABORTRETRYIGNORE, IDRETRY, 3},
                          {MB_ABORTRETRYIGNORE, IDIGNORE, 4},
                          {MB_YESNOCANCEL, IDCANCEL, 1}};
    for (const Case &c : cases) {
        int32_t result = -1;
        BoxView view = Show([&] { return ShowMessage("?", c.flags); }, c.press, result);
        EXPECT_TRUE(view.found && !view.thread_window_enabled) << c.flags << " " << c.press;
        EXPECT_EQ(result, c.code) << c.flags << " " << c.press;
    }
}

TEST_F(MessageBoxOnScreen, StyleReachesTheBox) {
    int32_t result = -1;
    BoxView system = Show([] { return ShowMessage("?", MB_SYSTEMMODAL); }, IDOK, result);
    ASSERT_TRUE(system.found);
    EXPECT_TRUE(system.topmost && system.thread_window_enabled);
    BoxView question = Show([] { return ShowMessage("?", 0x24); }, IDNO, result);
    EXPECT_TRUE(question.icon && !question.thread_window_enabled && !question.topmost);
    EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(result, 6);
}

TEST_F(MessageBoxOnScreen, CaptionsAndRenderedValues) {
    int32_t result = -1;
    const auto with_caption = [](const char *caption) {
        return [caption] {
            return ShowMessage(TypedValue::Text("?"), TypedValue::Integer(0),
                               TypedValue::Text(caption));
        };
    };
    EXPECT_EQ(Show(with_caption("标题"), IDOK, result).caption, L"标题");
    // An absent caption shows as an empty title, not the platform's own "错误".
    BoxView absent = Show(with_caption(nullptr), IDOK, result);
    EXPECT_TRUE(absent.found && absent.caption.empty());

    test::OwnedBlock block({'z', 'i', 'p'});
    const std::pair<TypedValue, const wchar_t *> cases[] = {
        {TypedValue::Integer(42), L"42"},
        {TypedValue::Float(1234567.0f), L"1.23457e+06"},
        {TypedValue::DateTime(41598.0 + 8.5 / 24), L"2013年11月20日8时30分"},
        {TypedValue::Block(block.get()), L""},
    };
    for (const auto &[message, shown] : cases) {
        BoxView view = Show([&] { return ShowMessage(message, {}, {}); }, IDOK, result);
        EXPECT_TRUE(view.found && view.caption == test::kDefaultCaption) << shown;
        EXPECT_EQ(view.text, shown);
    }
}

TEST_F(MessageBoxOnScreen, TextsReachTheBoxAsTheirCharacters) {
    int32_t result = -1;
    // A character outside the BMP crosses as its surrogate pair, whatever the code page.
    BoxView view = Show(
        [] {
            return ShowMessage(TypedValue::Text("游𠀀戏\r\n真"), TypedValue::Integer(0),
                               TypedValue::Text("标题𠀀"));
        },
        IDOK, result);
    ASSERT_TRUE(view.found);
    EXPECT_EQ(view.text, L"游\U00020000戏\r\n真");
    EXPECT_EQ(view.caption, L"标题\U00020000");
    BoxView logical =
        Show([] { return ShowMessage(TypedValue::Logical(false), {}, {}); }, IDOK, result);
    EXPECT_EQ(logical.text, L"假");
}

TEST_F(MessageBoxOnScreen, ATextThatIsNotUtf8ShowsNoBox) {
    // Shown through a code page it would read as other characters: GBK bytes, a cut character.
    for (const char *text : {"\xCC\xE6\xBB\xBB", "ok\xE6\x9B"}) {
        int32_t result = -1;
        BoxView view = Show([&] { return ShowMessage(text); }, IDOK, result);
        EXPECT_FALSE(view.found);
        EXPECT_EQ(result, 0);
    }
    int32_t result = -1;
    BoxView view = Show(
        [] {
            return ShowMessage(TypedValue::Text("ok"), TypedValue::Integer(0),
                               TypedValue::Text("\xB1\xEA"));
        },
        IDOK, result);
    EXPECT_FALSE(view.found);
    EXPECT_EQ(result, 0);
}

} // namespace
} // namespace korvanta
