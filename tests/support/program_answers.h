#pragma once
// What the program shows, typed out here by hand as the players see it rather than taken from
// the program, so that a slip in either shows up: the control ids of its buttons, the texts of
// its window and the texts of its message boxes, in UTF-16 as they are read from the screen. A
// failure's text goes on with the icon folder's path.

namespace korvanta::test {

inline constexpr int kReplaceButtonId = 120; // 按钮1
inline constexpr int kRestoreButtonId = 130; // 按钮2

inline constexpr wchar_t kWindowTitle[] = L"Korvanta";
inline constexpr wchar_t kLabelText[] =
    L"  玩腻国服的小盆友们,来体验体验外服的,\r\n\r\n军衔图标吧。";
inline constexpr wchar_t kReplaceCaption[] = L"替换(&Y)"; // 按钮1
inline constexpr wchar_t kRestoreCaption[] = L"恢复(&N)"; // 按钮2

inline constexpr wchar_t kDefaultCaption[] = L"信息：";
inline constexpr wchar_t kSuccess[] = L"替换成功";
inline constexpr wchar_t kReplaceFailed[] = L"替换失败，请关闭游戏后重试。\r\n\r\n";
inline constexpr wchar_t kRestoreFailed[] = L"恢复失败，请关闭游戏后重试。\r\n\r\n";
inline constexpr wchar_t kNoBackup[] = L"未找到备份的图标，游戏图标保持不变。";

} // namespace korvanta::test
