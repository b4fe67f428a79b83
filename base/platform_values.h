#pragma once
// Win32 constant values that the pure logic produces or compares against. They are fixed by
// the platform's ABI; the Win32 layer checks them against <windows.h> at compile time
// (platform_values_check_win.cpp), so the pure code can build on any machine.

#include <cstdint>

namespace korvanta::win {

// Window styles.
inline constexpr uint32_t kWsChild = 0x40000000;
inline constexpr uint32_t kWsMinimize = 0x20000000;
inline constexpr uint32_t kWsVisible = 0x10000000;
inline constexpr uint32_t kWsDisabled = 0x08000000;
inline constexpr uint32_t kWsClipSiblings = 0x04000000;
inline constexpr uint32_t kWsClipChildren = 0x02000000;
inline constexpr uint32_t kWsMaximize = 0x01000000;
inline constexpr uint32_t kWsCaption = 0x00C00000;
inline constexpr uint32_t kWsBorder = 0x00800000;
inline constexpr uint32_t kWsDlgFrame = 0x00400000;
inline constexpr uint32_t kWsVScroll = 0x00200000;
inline constexpr uint32_t kWsHScroll = 0x00100000;
inline constexpr uint32_t kWsSysMenu = 0x00080000;
inline constexpr uint32_t kWsThickFrame = 0x00040000;
inline constexpr uint32_t kWsTabStop = 0x00010000;
inline constexpr uint32_t kWsMinimizeBox = 0x00020000;
inline constexpr uint32_t kWsMaximizeBox = 0x00010000;
inline constexpr uint32_t kWsExToolWindow = 0x00000080;
inline constexpr uint32_t kWsExClientEdge = 0x00000200;

// Button styles.
inline constexpr uint32_t kBsPushButton = 0x0000;
inline constexpr uint32_t kBsDefPushButton = 0x0001;
inline constexpr uint32_t kBsTypeMask = 0x000F;
inline constexpr uint32_t kBsLeft = 0x0100;
inline constexpr uint32_t kBsRight = 0x0200;
inline constexpr uint32_t kBsCenter = 0x0300;
inline constexpr uint32_t kBsTop = 0x0400;
inline constexpr uint32_t kBsBottom = 0x0800;
inline constexpr uint32_t kBsVCenter = 0x0C00;
inline constexpr uint32_t kBsMultiLine = 0x2000;

// Edit styles.
inline constexpr uint32_t kEsLeft = 0x0000;
inline constexpr uint32_t kEsCenter = 0x0001;
inline constexpr uint32_t kEsRight = 0x0002;
inline constexpr uint32_t kEsMultiLine = 0x0004;
inline constexpr uint32_t kEsUpperCase = 0x0008;
inline constexpr uint32_t kEsLowerCase = 0x0010;
inline constexpr uint32_t kEsPassword = 0x0020;
inline constexpr uint32_t kEsAutoVScroll = 0x0040;
inline constexpr uint32_t kEsAutoHScroll = 0x0080;
inline constexpr uint32_t kEsNoHideSel = 0x0100;
inline constexpr uint32_t kEsReadOnly = 0x0800;

// Show commands.
inline constexpr int kSwShow = 5;
inline constexpr int kSwShowMinimized = 2;
inline constexpr int kSwShowMaximized = 3;

// DrawText flags.
inline constexpr uint32_t kDtTop = 0x0000;
inline constexpr uint32_t kDtLeft = 0x0000;
inline constexpr uint32_t kDtCenter = 0x0001;
inline constexpr uint32_t kDtRight = 0x0002;
inline constexpr uint32_t kDtVCenter = 0x0004;
inline constexpr uint32_t kDtBottom = 0x0008;
inline constexpr uint32_t kDtWordBreak = 0x0010;
inline constexpr uint32_t kDtSingleLine = 0x0020;
inline constexpr uint32_t kDtNoClip = 0x0100;

// Virtual keys.
inline constexpr uint32_t kVkTab = 0x09;
inline constexpr uint32_t kVkReturn = 0x0D;
inline constexpr uint32_t kVkShift = 0x10;
inline constexpr uint32_t kVkControl = 0x11;
inline constexpr uint32_t kVkMenu = 0x12;
inline constexpr uint32_t kVkEscape = 0x1B;
inline constexpr uint32_t kVkLeft = 0x25;
inline constexpr uint32_t kVkDown = 0x28;
inline constexpr uint32_t kVkNumpad0 = 0x60;
inline constexpr uint32_t kVkNumpad9 = 0x69;
inline constexpr uint32_t kVkF1 = 0x70;
inline constexpr uint32_t kVkLShift = 0xA0;
inline constexpr uint32_t kVkRShift = 0xA1;
inline constexpr uint32_t kVkLControl = 0xA2;
inline constexpr uint32_t kVkRControl = 0xA3;
inline constexpr uint32_t kVkLMenu = 0xA4;
inline constexpr uint32_t kVkRMenu = 0xA5;

// File attributes.
inline constexpr uint32_t kFileAttributeReadOnly = 0x01;
inline constexpr uint32_t kFileAttributeHidden = 0x02;
inline constexpr uint32_t kFileAttributeSystem = 0x04;
inline constexpr uint32_t kFileAttributeDirectory = 0x10;
inline constexpr uint32_t kFileAttributeArchive = 0x20;
inline constexpr uint32_t kFileAttributeNormal = 0x80;
inline constexpr uint32_t kFileAttributeReparsePoint = 0x400;
// What GetFileAttributesW answers when it has no attributes to report.
inline constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

// Error codes.
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorPathNotFound = 3;

// Message box styles.
inline constexpr int32_t kMbSystemModal = 0x1000;
inline constexpr int32_t kMbTaskModal = 0x2000;

// Messages the idle rule looks at.
inline constexpr uint32_t kWmPaint = 0x000F;
inline constexpr uint32_t kWmNcMouseMove = 0x00A0;
inline constexpr uint32_t kWmSysTimer = 0x0118;
inline constexpr uint32_t kWmMouseMove = 0x0200;

// COLORREF: 0x00BBGGRR.
constexpr uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}

} // namespace korvanta::win
