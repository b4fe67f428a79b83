#pragma once
// Paths of the game's icon folders and of the staged archives.

#include "app/text.h"

namespace korvanta {

// Suffixes appended to the game directory.
inline constexpr const char kUiDir[] = "\\rez\\UI";
inline constexpr const char kIconDir[] = "\\rez\\UI\\class";
inline constexpr const char kAsideDir[] = "\\rez\\UI\\class2";
inline constexpr const char kOldIconDir[] = "\\rez\\UI\\class.old";

inline constexpr const char kCacheDir[] = "C:\\缓存目录";
inline constexpr const char kForeignArchive[] = "C:\\缓存目录\\class1.zip";
inline constexpr const char kStockArchive[] = "C:\\缓存目录\\class.zip";

// The game directory as 编辑框1 holds it now, followed by the suffix. Built afresh for every
// step, so nothing is cached between steps or clicks.
Text GamePath(const char *suffix);

} // namespace korvanta
