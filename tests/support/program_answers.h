#pragma once
// What the program shows, typed out here by hand as the players see it rather than taken from
// the program, so that a slip in either shows up: the control ids of its buttons and the
// texts of its message boxes. A failure's text goes on with the icon folder's path.

namespace korvanta::test {

inline constexpr int kReplaceButtonId = 120; // 按钮1
inline constexpr int kRestoreButtonId = 130; // 按钮2

inline constexpr char kDefaultCaption[] = "信息：";
inline constexpr char kSuccess[] = "替换成功";
inline constexpr char kReplaceFailed[] = "替换失败，请关闭游戏后重试。\r\n\r\n";
inline constexpr char kRestoreFailed[] = "恢复失败，请关闭游戏后重试。\r\n\r\n";
inline constexpr char kNoBackup[] = "未找到备份的图标，游戏图标保持不变。";

} // namespace korvanta::test
