#pragma once
// MainWindow, the program's only window: its id and its units as the handlers name them.

#include "shell/unit_record.h"

namespace korvanta {

inline constexpr int32_t kMainWindowId = 1;

// Units by their design names (list positions in the description).
inline constexpr UnitRef kMainWindow{kMainWindowId, 0};
inline constexpr UnitRef kLabel1{kMainWindowId, 1};   // 标签1
inline constexpr UnitRef kButton2{kMainWindowId, 2};  // 按钮2 "恢复(&N)"
inline constexpr UnitRef kButton1{kMainWindowId, 3};  // 按钮1 "替换(&Y)"
inline constexpr UnitRef kZip1{kMainWindowId, 4};     // ZIP压缩1
inline constexpr UnitRef kEditBox1{kMainWindowId, 5}; // 编辑框1

extern const WindowDescription MainWindow;

} // namespace korvanta
