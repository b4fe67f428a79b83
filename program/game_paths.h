#pragma once
// Paths of the game's icon folders (suffixes of the game directory) and of the staged
// archives.

namespace korvanta {

// Suffixes appended to the game directory.
inline constexpr const char kUiDir[] = "\\rez\\UI";
inline constexpr const char kIconDir[] = "\\rez\\UI\\class";
inline constexpr const char kAsideDir[] = "\\rez\\UI\\class2";
inline constexpr const char kOldIconDir[] = "\\rez\\UI\\class.old";

inline constexpr const char kCacheDir[] = "C:\\缓存目录";
inline constexpr const char kForeignArchive[] = "C:\\缓存目录\\class1.zip";
inline constexpr const char kStockArchive[] = "C:\\缓存目录\\class.zip";

} // namespace korvanta
