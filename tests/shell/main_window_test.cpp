// MainWindow as LoadWindow builds it: look, units, creation order, content, label painting.
#include "shell/content.h"
#include "shell/events.h"
#include "base/memory.h"
#include "tests/shell/window_fixture.h"
#include "tests/support/windows.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace korvanta {
namespace {

std::string ClassOf(HWND h) {
    char buf[64] = {};
    GetClassNameA(h, buf, sizeof buf);
    return buf;
}

RECT ChildRect(HWND child) {
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT *>(&rc), 2);
    return rc;
}

TEST_F(MainWindowTest, TitleStyleOuterSizeAndCentre) {
    HWND w = Hwnd(kMainWindow);
    ASSERT_TRUE(w);
    EXPECT_EQ(test::WindowText(w), L"Korvanta");
    EXPECT_EQ(ClassOf(w), "KorvantaForm");
    EXPECT_TRUE(IsWindowVisible(w));
    RECT rc;
    GetWindowRect(w, &rc);
    EXPECT_EQ(rc.right - rc.left, 276);
    EXPECT_EQ(rc.bottom - rc.top, 201);
    EXPECT_EQ(rc.left, (GetSystemMetrics(SM_CXSCREEN) - 276) / 2);
    EXPECT_EQ(rc.top, (GetSystemMetrics(SM_CYSCREEN) - 201) / 2);

    const LONG style = GetWindowLongA(w, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP));
    const LONG ex = GetWindowLongA(w, GWL_EXSTYLE);
    EXPECT_FALSE(ex & (WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE | WS_EX_TOPMOST));
    EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);
    // Movable: the system menu keeps its Move item.
    EXPECT_NE(GetMenuState(GetSystemMenu(w, FALSE), SC_MOVE, MF_BYCOMMAND), 0xFFFFFFFFu);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(w, WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(MainWindowTest, UnitsWithClassesIdsRectanglesAndTexts) {
    struct Expected {
        UnitRef unit;
        const char *cls;
        int id;
        RECT rect;
        const wchar_t *text;
    };
    const Expected units[] = {
        {kLabel1,
         "KorvantaLabel",
         140,
         {16, 24, 248, 72},
         L"  玩腻国服的小盆友们,来体验体验外服的,\r\n\r\n军衔图标吧。"},
        {kButton2, "Button", 130, {144, 104, 240, 152}, L"恢复(&N)"},
        {kButton1, "Button", 120, {24, 104, 112, 152}, L"替换(&Y)"},
    };
    for (const Expected &e : units) {
        HWND h = Hwnd(e.unit);
        ASSERT_TRUE(h) << e.id;
        EXPECT_EQ(GetParent(h), Hwnd(kMainWindow));
        EXPECT_STRCASEEQ(ClassOf(h).c_str(), e.cls);
        EXPECT_EQ(GetDlgCtrlID(h), e.id);
        RECT rc = ChildRect(h);
        EXPECT_EQ(rc.left, e.rect.left) << e.id;
        EXPECT_EQ(rc.top, e.rect.top) << e.id;
        EXPECT_EQ(rc.right, e.rect.right) << e.id;
        EXPECT_EQ(rc.bottom, e.rect.bottom) << e.id;
        EXPECT_EQ(test::WindowText(h), e.text);
        EXPECT_TRUE(IsWindowVisible(h)) << e.id;
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(h, WM_GETFONT, 0, 0)),
                  GetStockObject(DEFAULT_GUI_FONT));
    }
    const LONG button_style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON |
                              BS_CENTER | BS_VCENTER | BS_MULTILINE;
    EXPECT_EQ(GetWindowLongA(Hwnd(kButton1), GWL_STYLE), button_style);
    EXPECT_EQ(GetWindowLongA(Hwnd(kButton2), GWL_STYLE), button_style);
    EXPECT_EQ(GetWindowLongA(Hwnd(kLabel1), GWL_STYLE), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    // The label class: own class styles, arrow cursor, no background brush.
    WNDCLASSEXA wc{sizeof wc};
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "KorvantaLabel", &wc));
    EXPECT_EQ(wc.style, UINT(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    EXPECT_EQ(wc.hbrBackground, nullptr);
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "KorvantaForm", &wc));
    EXPECT_EQ(wc.style, UINT(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    EXPECT_EQ(wc.hbrBackground, nullptr);
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
}

TEST_F(MainWindowTest, EditBoxExistsEnabledOutsideTheClientArea) {
    HWND edit = Hwnd(kEditBox1);
    ASSERT_TRUE(edit);
    EXPECT_STRCASEEQ(ClassOf(edit).c_str(), "Edit");
    EXPECT_EQ(GetDlgCtrlID(edit), 100);
    EXPECT_TRUE(IsWindowEnabled(edit));
    EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(GetWindowLongA(edit, GWL_STYLE),
              LONG(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | ES_AUTOHSCROLL |
                   ES_CENTER | ES_READONLY));
    RECT client;
    GetClientRect(Hwnd(kMainWindow), &client);
    RECT rc = ChildRect(edit);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 216);
    EXPECT_EQ(rc.right, 272);
    EXPECT_GE(client.bottom, 0);
    EXPECT_LT(client.bottom, 216); // never seen
    // No limit of its own: the system maximum.
    EXPECT_GT(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 30000);
    // At least as tall as the font's text plus two edges.
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    EXPECT_EQ(rc.bottom - rc.top,
              std::max<LONG>(16, tm.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE)));
}

TEST_F(MainWindowTest, EditBoxDrawsBlackOnTheButtonFace) {
    HDC dc = GetDC(Hwnd(kEditBox1));
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    // A read-only edit control asks for its colours as a static control does.
    LRESULT brush = SendMessageA(Hwnd(kMainWindow), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(Hwnd(kEditBox1)));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(Hwnd(kEditBox1), dc);
}

TEST_F(MainWindowTest, ZipUnitHasNoWindowAndChildrenStackInListOrder) {
    EXPECT_EQ(Hwnd(kZip1), nullptr);
    std::vector<HWND> stack;
    for (HWND h = GetWindow(Hwnd(kMainWindow), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        stack.push_back(h);
    EXPECT_EQ(stack,
              (std::vector<HWND>{Hwnd(kLabel1), Hwnd(kButton2), Hwnd(kButton1), Hwnd(kEditBox1)}));
}

TEST_F(MainWindowTest, FocusStartsOnTheInvisibleEditBox) {
    EXPECT_EQ(GetActiveWindow(), Hwnd(kMainWindow));
    EXPECT_EQ(GetFocus(), Hwnd(kEditBox1));
}

class CreationCompleteTest : public MainWindowTest {
protected:
    void BeforeLoad() override {
        doubles::on_staging = [this] {
            HWND w = UnitWindow(kMainWindow);
            visible_inside = IsWindowVisible(w) != FALSE;
            source = CurrentEventSource();
            // Writing the content is what start-up staging does here.
            WriteContent(kEditBox1, "D:\\Games\\CF");
        };
    }
    bool visible_inside = true;
    UnitRef source{};
};

TEST_F(CreationCompleteTest, RunsOnceWhileTheWindowIsHidden) {
    EXPECT_EQ(doubles::handler_log.staging, 1);
    EXPECT_FALSE(visible_inside);
    EXPECT_EQ(source.window, kMainWindowId);
    EXPECT_EQ(source.unit, 0);
    EXPECT_EQ(CurrentEventSource().window, 0);
    EXPECT_TRUE(IsWindowVisible(Hwnd(kMainWindow)));
    Text content = ReadContent(kEditBox1);
    EXPECT_STREQ(content.get(), "D:\\Games\\CF");
    // Later messages do not raise it again.
    SendMessageA(Hwnd(kMainWindow), WM_SIZE, 0, 0);
    EXPECT_EQ(doubles::handler_log.staging, 1);
}

TEST_F(MainWindowTest, ReadContentOfEmptyIsAbsentAndWriteAbsentReadsAbsent) {
    EXPECT_TRUE(ReadContent(kEditBox1).absent());
    WriteContent(kEditBox1, "x");
    EXPECT_FALSE(ReadContent(kEditBox1).absent());
    WriteContent(kEditBox1, nullptr);
    EXPECT_TRUE(ReadContent(kEditBox1).absent());
    EXPECT_EQ(GetWindowTextLengthW(Hwnd(kEditBox1)), 0);
}

TEST_F(MainWindowTest, EveryReadIsAFreshCopyAndWritesKeepTheirOwn) {
    char *source = static_cast<char *>(AllocBlock(16));
    std::strcpy(source, "D:\\游戏\\CF");
    WriteContent(kEditBox1, source);
    FreeBlock(source); // the caller may release its text at once
    Text first = ReadContent(kEditBox1);
    Text second = ReadContent(kEditBox1);
    ASSERT_FALSE(first.absent());
    ASSERT_FALSE(second.absent());
    EXPECT_NE(first.get(), second.get());
    EXPECT_STREQ(first.get(), "D:\\游戏\\CF");
    EXPECT_STREQ(second.get(), first.get());
    first = Text();
    EXPECT_STREQ(second.get(), "D:\\游戏\\CF");
    EXPECT_STREQ(ReadContent(kEditBox1).get(), "D:\\游戏\\CF");
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}

TEST_F(MainWindowTest, LongTextIsKeptWhole) {
    std::string longer;
    for (int i = 0; i < 300; ++i)
        longer += "\\目录" + std::to_string(i);
    ASSERT_GT(longer.size(), 2000u);
    WriteContent(kEditBox1, longer.c_str());
    EXPECT_EQ(ReadContent(kEditBox1).view(), longer);
}

// Renders the label through its paint code into a 32-bit top-down bitmap.
std::vector<uint32_t> RenderLabel(HWND label, int width, int height) {
    const BITMAPINFO bi = test::TopDownBitmap(width, height);
    void *bits = nullptr;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    UniqueBitmap bitmap(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectScope select(dc.get(), bitmap.get());
    std::memset(bits, 0x5A, size_t(width) * size_t(height) * 4); // neither face nor ink
    SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    GdiFlush();
    auto *p = static_cast<const uint32_t *>(bits);
    return std::vector<uint32_t>(p, p + size_t(width) * size_t(height));
}

TEST_F(MainWindowTest, LabelPaintsBlackTextOnTheButtonFaceFromTheTopLeft) {
    const int w = 232, h = 48;
    std::vector<uint32_t> px = RenderLabel(Hwnd(kLabel1), w, h);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const uint32_t face_px = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    auto ink = [](uint32_t p) {
        return ((p >> 16) & 0xFF) < 0x80 && ((p >> 8) & 0xFF) < 0x80 && (p & 0xFF) < 0x80;
    };
    // Opaque: every pixel is painted, the corners in the face colour.
    for (uint32_t p : px)
        ASSERT_NE(p & 0xFFFFFF, 0x5A5A5Au);
    EXPECT_EQ(px[0] & 0xFFFFFF, face_px);
    EXPECT_EQ(px[size_t(w) * h - 1] & 0xFFFFFF, face_px);

    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm;
    GetTextMetricsA(screen, &tm);
    SIZE spaces;
    GetTextExtentPoint32A(screen, "  ", 2, &spaces);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const int line = tm.tmHeight;

    int first_row = -1, left_col = w, darkest = 255;
    std::vector<bool> row_has_ink(h, false);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint32_t p = px[size_t(y) * w + x];
            if (!ink(p))
                continue;
            row_has_ink[y] = true;
            if (first_row < 0)
                first_row = y;
            if (y < line)
                left_col = std::min(left_col, x);
            darkest = std::min<int>(darkest, int((p >> 16) & 0xFF));
        }
    }
    ASSERT_GE(first_row, 0) << "no text drawn";
    EXPECT_LT(first_row, line / 2) << "text starts at the top";
    EXPECT_GE(left_col, spaces.cx - 1) << "first line indented by two spaces";
    EXPECT_LT(left_col, spaces.cx + 6);
    EXPECT_LT(darkest, 0x30) << "black text";
    // Line two is the empty line; line three has text again (where it fits in the label).
    for (int y = line + 1; y < std::min(2 * line, h); ++y)
        EXPECT_FALSE(row_has_ink[y]) << "row " << y;
    bool third = false;
    for (int y = 2 * line; y < h; ++y)
        third = third || row_has_ink[y];
    if (2 * line < h - 4) {
        EXPECT_TRUE(third);
    }
}

TEST_F(MainWindowTest, WindowPaintsTheButtonFaceItself) {
    HDC screen = GetDC(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, 300, 300));
    ReleaseDC(nullptr, screen);
    SelectScope select(dc.get(), bitmap.get());
    RECT all{0, 0, 300, 300};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_TRUE(
        SendMessageA(Hwnd(kMainWindow), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0));
    EXPECT_EQ(GetPixel(dc.get(), 5, 5), GetSysColor(COLOR_BTNFACE));
}

TEST_F(MainWindowTest, ClosingDestroysTheWindowAndForgetsIt) {
    HWND w = Hwnd(kMainWindow);
    SendMessageA(w, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(Hwnd(kMainWindow), nullptr);
    EXPECT_EQ(FindLiveWindow(kMainWindowId), nullptr);
    // It can be loaded again.
    ASSERT_TRUE(LoadWindow(kMainWindowId));
    EXPECT_TRUE(IsWindow(Hwnd(kMainWindow)));
}

TEST_F(MainWindowTest, AnOpenOrUnknownWindowIsReportedAndLeftAlone) {
    HWND w = Hwnd(kMainWindow);
    EXPECT_FALSE(LoadWindow(kMainWindowId));
    EXPECT_FALSE(LoadWindow(kMainWindowId + 1000));
    // No second window and no second creation event; the open one is untouched.
    EXPECT_EQ(Hwnd(kMainWindow), w);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(doubles::handler_log.staging, 1);
}

} // namespace
} // namespace korvanta
