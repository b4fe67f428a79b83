// What the player sees of MainWindow is the same characters whatever the system's code page:
// its texts read back as UTF-16, the label's own painting, the edit box's content. These cases
// also run on the lanes of code pages 950, 1252 and 65001 (tests/shell/CMakeLists.txt), where
// a text that went through an A call would show as other characters.
#include "shell/content.h"
#include "shell/win_handles.h"
#include "tests/shell/window_fixture.h"
#include "tests/support/program_answers.h"
#include "tests/support/windows.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace korvanta {
namespace {

using PlayersView = MainWindowTest;

TEST_F(PlayersView, WindowAndUnitTextsAreTheirCharacters) {
    EXPECT_EQ(test::WindowText(Hwnd(kMainWindow)), test::kWindowTitle);
    EXPECT_EQ(test::WindowText(Hwnd(kLabel1)), test::kLabelText);
    EXPECT_EQ(test::WindowText(Hwnd(kButton1)), test::kReplaceCaption);
    EXPECT_EQ(test::WindowText(Hwnd(kButton2)), test::kRestoreCaption);
    // Unicode windows from the start: no text of theirs passes through the code page.
    for (UnitRef unit : {kMainWindow, kLabel1, kButton1, kButton2, kEditBox1})
        EXPECT_TRUE(IsWindowUnicode(Hwnd(unit))) << unit.unit;
}

// A 32-bit top-down bitmap to paint into.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        const BITMAPINFO bi = test::TopDownBitmap(width, height);
        bitmap_ =
            UniqueBitmap(CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, &bits_, nullptr, 0));
        select_.emplace(dc_.get(), bitmap_.get());
        std::memset(bits_, 0x5A, Size() * 4); // neither face nor ink
    }
    HDC dc() const { return dc_.get(); }
    std::vector<uint32_t> Pixels() const {
        GdiFlush();
        const auto *p = static_cast<const uint32_t *>(bits_);
        return std::vector<uint32_t>(p, p + Size());
    }

private:
    size_t Size() const { return size_t(width_) * size_t(height_); }
    int width_, height_;
    UniqueMemoryDc dc_{CreateCompatibleDC(nullptr)};
    UniqueBitmap bitmap_;
    void *bits_ = nullptr;
    std::optional<SelectScope> select_;
};

TEST_F(PlayersView, TheLabelPaintsItsCharacters) {
    // The label paints its own text; what it draws must be, pixel for pixel, the expected
    // characters drawn with the wide call in its font, colour and flags on the button face.
    const int w = 232, h = 48;
    Canvas label(w, h);
    SendMessageW(Hwnd(kLabel1), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(label.dc()), PRF_CLIENT);

    Canvas expected(w, h);
    RECT rc{0, 0, w, h};
    FillRect(expected.dc(), &rc, GetSysColorBrush(COLOR_BTNFACE));
    SelectScope font(expected.dc(), GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(expected.dc(), TRANSPARENT);
    SetTextColor(expected.dc(), RGB(0, 0, 0));
    DrawTextW(expected.dc(), test::kLabelText, -1, &rc, DT_NOCLIP | DT_WORDBREAK | DT_VCENTER);

    const std::vector<uint32_t> painted = label.Pixels(), wanted = expected.Pixels();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const uint32_t face_px = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    size_t ink = 0, differing = 0;
    for (size_t i = 0; i < wanted.size(); ++i) {
        ink += (wanted[i] & 0xFFFFFF) != face_px;
        differing += (painted[i] & 0xFFFFFF) != (wanted[i] & 0xFFFFFF);
    }
    EXPECT_GT(ink, 300u) << "the reference draws no text";
    EXPECT_EQ(differing, 0u) << "pixels that differ from the expected characters";
}

TEST_F(PlayersView, ContentKeepsCharactersNoCodePageHas) {
    // Korean and a character outside the BMP: no ANSI code page of the lanes holds both.
    const char *path = "D:\\游戏\\게임\\𠀀";
    WriteContent(kEditBox1, path);
    EXPECT_EQ(test::WindowText(Hwnd(kEditBox1)), L"D:\\游戏\\게임\\\U00020000");
    EXPECT_EQ(ReadContent(kEditBox1).view(), path);
}

TEST_F(PlayersView, ContentWithALoneSurrogateReadsAsEmpty) {
    // Only input from outside can put one there; read as absent, never as other characters.
    SendMessageW(Hwnd(kEditBox1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"D:\\a\xD800z"));
    EXPECT_TRUE(ReadContent(kEditBox1).absent());
    // A text that is not UTF-8 empties the box instead of showing other characters.
    WriteContent(kEditBox1, "D:\\\xD3\xCE\xCF\xB7"); // 游戏 in GBK
    EXPECT_EQ(test::WindowText(Hwnd(kEditBox1)), L"");
    EXPECT_TRUE(ReadContent(kEditBox1).absent());
}

} // namespace
} // namespace korvanta
