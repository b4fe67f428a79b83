// The pure logic writes Win32 constants without <windows.h>; here they meet the real ones.
#include "base/platform_values.h"

#include <windows.h>

namespace korvanta::win {

static_assert(kWsChild == WS_CHILD && kWsMinimize == WS_MINIMIZE && kWsVisible == WS_VISIBLE);
static_assert(kWsDisabled == WS_DISABLED && kWsClipSiblings == WS_CLIPSIBLINGS);
static_assert(kWsClipChildren == WS_CLIPCHILDREN && kWsMaximize == WS_MAXIMIZE);
static_assert(kWsCaption == WS_CAPTION && kWsBorder == WS_BORDER && kWsDlgFrame == WS_DLGFRAME);
static_assert(kWsVScroll == WS_VSCROLL && kWsHScroll == WS_HSCROLL && kWsSysMenu == WS_SYSMENU);
static_assert(kWsThickFrame == WS_THICKFRAME && kWsTabStop == WS_TABSTOP);
static_assert(kWsMinimizeBox == WS_MINIMIZEBOX && kWsMaximizeBox == WS_MAXIMIZEBOX);
static_assert(kWsExToolWindow == WS_EX_TOOLWINDOW && kWsExClientEdge == WS_EX_CLIENTEDGE);

static_assert(kBsPushButton == BS_PUSHBUTTON && kBsDefPushButton == BS_DEFPUSHBUTTON);
static_assert(kBsTypeMask == BS_TYPEMASK && kBsLeft == BS_LEFT && kBsRight == BS_RIGHT);
static_assert(kBsCenter == BS_CENTER && kBsTop == BS_TOP && kBsBottom == BS_BOTTOM);
static_assert(kBsVCenter == BS_VCENTER && kBsMultiLine == BS_MULTILINE);

static_assert(kEsLeft == ES_LEFT && kEsCenter == ES_CENTER && kEsRight == ES_RIGHT);
static_assert(kEsMultiLine == ES_MULTILINE && kEsUpperCase == ES_UPPERCASE);
static_assert(kEsLowerCase == ES_LOWERCASE && kEsPassword == ES_PASSWORD);
static_assert(kEsAutoVScroll == ES_AUTOVSCROLL && kEsAutoHScroll == ES_AUTOHSCROLL);
static_assert(kEsNoHideSel == ES_NOHIDESEL && kEsReadOnly == ES_READONLY);

static_assert(kSwShow == SW_SHOW && kSwShowMinimized == SW_SHOWMINIMIZED);
static_assert(kSwShowMaximized == SW_SHOWMAXIMIZED);

static_assert(kDtTop == DT_TOP && kDtLeft == DT_LEFT && kDtCenter == DT_CENTER);
static_assert(kDtRight == DT_RIGHT && kDtVCenter == DT_VCENTER && kDtBottom == DT_BOTTOM);
static_assert(kDtWordBreak == DT_WORDBREAK && kDtSingleLine == DT_SINGLELINE);
static_assert(kDtNoClip == DT_NOCLIP);

static_assert(kVkTab == VK_TAB && kVkReturn == VK_RETURN && kVkShift == VK_SHIFT);
static_assert(kVkControl == VK_CONTROL && kVkMenu == VK_MENU && kVkEscape == VK_ESCAPE);
static_assert(kVkLeft == VK_LEFT && kVkDown == VK_DOWN && kVkNumpad0 == VK_NUMPAD0);
static_assert(kVkNumpad9 == VK_NUMPAD9 && kVkF1 == VK_F1 && kVkLShift == VK_LSHIFT);
static_assert(kVkRShift == VK_RSHIFT && kVkLControl == VK_LCONTROL);
static_assert(kVkRControl == VK_RCONTROL && kVkLMenu == VK_LMENU && kVkRMenu == VK_RMENU);

static_assert(kFileAttributeReadOnly == FILE_ATTRIBUTE_READONLY);
static_assert(kFileAttributeHidden == FILE_ATTRIBUTE_HIDDEN);
static_assert(kFileAttributeSystem == FILE_ATTRIBUTE_SYSTEM);
static_assert(kFileAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY);
static_assert(kFileAttributeArchive == FILE_ATTRIBUTE_ARCHIVE);
static_assert(kFileAttributeNormal == FILE_ATTRIBUTE_NORMAL);
static_assert(kFileAttributeReparsePoint == FILE_ATTRIBUTE_REPARSE_POINT);
static_assert(kInvalidFileAttributes == INVALID_FILE_ATTRIBUTES);

static_assert(kErrorFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(kErrorPathNotFound == ERROR_PATH_NOT_FOUND);

static_assert(kMbSystemModal == MB_SYSTEMMODAL && kMbTaskModal == MB_TASKMODAL);

static_assert(kWmPaint == WM_PAINT && kWmNcMouseMove == WM_NCMOUSEMOVE);
static_assert(kWmMouseMove == WM_MOUSEMOVE);

static_assert(Rgb(0x12, 0x34, 0x56) == RGB(0x12, 0x34, 0x56));

} // namespace korvanta::win
