#include "icons/handlers.h"

#include "app/zip_unit.h"
#include "host/file_ops.h"
#include "host/message_box.h"
#include "icons/game_paths.h"
#include "icons/main_window.h"
#include "payload/byte_block.h"

#include <windows.h>

#include <string>

namespace korvanta {
namespace {

constexpr int32_t kErrorIcon = MB_ICONERROR;          // 0x10
constexpr int32_t kWarningIcon = MB_ICONWARNING;      // 0x30
constexpr int32_t kInformationIcon = MB_ICONASTERISK; // 0x40

constexpr const char kReplaceFailed[] = "替换失败，请关闭游戏后重试。\r\n\r\n";
constexpr const char kRestoreFailed[] = "恢复失败，请关闭游戏后重试。\r\n\r\n";

// Both actions change nothing unless the game's UI folder is really there: otherwise every
// path would be relative to the program's own folder and the icons would land beside it.
bool GameInstalled() {
    if (IsDirectory(GamePath(kUiDir).c_str()))
        return true;
    ShowMessage("您的电脑未安装穿越火线", kWarningIcon);
    return false;
}

void ShowFailure(const char *what) {
    Text message = Concat({what, GamePath(kIconDir).get()});
    ShowMessage(message.get(), kErrorIcon);
}

bool Move(const char *from_suffix, const char *to_suffix) {
    return MoveFileA(GamePath(from_suffix).c_str(), GamePath(to_suffix).c_str()) != FALSE;
}

void RemoveLeftover(const char *suffix) {
    Text path = GamePath(suffix);
    if (IsDirectory(path.c_str()))
        DeleteTree(path.c_str());
    else if (PathExists(path.c_str()))
        DeleteFileA(path.c_str());
}

// The suffix of a free name for the installed icon folder while it is being replaced:
// "class.old", or the next of "class.old1" to "class.old9" when an earlier leftover cannot be
// removed (a read-only file in it), so that such a leftover never blocks a restore. Empty
// when none is free.
std::string FreeOldName() {
    for (int n = 0; n < 10; ++n) {
        std::string suffix = kOldIconDir;
        if (n > 0)
            suffix += static_cast<char>('0' + n);
        RemoveLeftover(suffix.c_str());
        if (!PathExists(GamePath(suffix.c_str()).c_str()))
            return suffix;
    }
    return {};
}

// The staged archive is usable only when start-up wrote it whole.
bool StagedWhole(const char *path, const ByteBlock &block) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return false;
    return !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.nFileSizeHigh == 0 &&
           data.nFileSizeLow == static_cast<DWORD>(block.byte_count);
}

} // namespace

// Moves the game's icons aside and unpacks the foreign set in their place. When the icons
// cannot be moved aside (a file in use) nothing is unpacked, and when the unpacking fails
// after the move, the game's own icons are put back.
void ReplaceAction() {
    if (!GameInstalled())
        return;
    if (!StagedWhole(kForeignArchive, ForeignSet)) {
        ShowFailure(kReplaceFailed);
        return;
    }
    bool moved = Move(kIconDir, kAsideDir);
    // A failed move is normal when the set-aside folder already exists or there is no icon
    // folder: the foreign set is then unpacked over what is there.
    if (!moved && IsDirectory(GamePath(kIconDir).c_str()) &&
        !PathExists(GamePath(kAsideDir).c_str())) {
        ShowFailure(kReplaceFailed);
        return;
    }
    if (ExtractArchive(kZip1, kForeignArchive, GamePath(kUiDir).c_str()) != 1) {
        if (moved) {
            DeleteTree(GamePath(kIconDir).c_str());
            Move(kAsideDir, kIconDir);
        }
        ShowFailure(kReplaceFailed);
        return;
    }
    ShowMessage("替换成功", 0);
}

// Puts the set-aside icons back and unpacks a fresh stock copy beside them. The installed
// icon folder is renamed out of the way first and deleted only once the set-aside icons are
// in place, so no icon folder is ever left half-deleted.
void RestoreAction() {
    if (!GameInstalled())
        return;
    if (!PathExists(GamePath(kAsideDir).c_str())) {
        ShowMessage("未找到备份的图标，游戏图标保持不变。", kInformationIcon);
        return;
    }
    // Without the whole stock archive the restore could not finish; leave everything as it is.
    if (!StagedWhole(kStockArchive, StockSet)) {
        ShowFailure(kRestoreFailed);
        return;
    }
    std::string old_name = FreeOldName();
    if (old_name.empty()) {
        ShowFailure(kRestoreFailed);
        return;
    }
    bool renamed = false;
    if (PathExists(GamePath(kIconDir).c_str())) {
        if (!Move(kIconDir, old_name.c_str())) {
            ShowFailure(kRestoreFailed);
            return;
        }
        renamed = true;
    }
    if (!Move(kAsideDir, kIconDir)) {
        if (renamed)
            Move(old_name.c_str(), kIconDir);
        ShowFailure(kRestoreFailed);
        return;
    }
    // A file still in use keeps part of the old folder; it is removed next time.
    if (renamed)
        DeleteTree(GamePath(old_name.c_str()).c_str());
    if (ExtractArchive(kZip1, kStockArchive, GamePath(kUiDir).c_str()) != 1) {
        // Half a stock copy must not pass for set-aside icons at the next restore.
        DeleteTree(GamePath(kAsideDir).c_str());
        ShowFailure(kRestoreFailed);
        return;
    }
    ShowMessage("替换成功", 0);
}

} // namespace korvanta
