#pragma once
// What replace and restore do, decided from what the icon folder ("class") and the set-aside
// folder ("class2") hold. The rule behind every decision: nothing the program cannot make
// again from its own archives is ever deleted or overwritten.

#include <functional>

namespace korvanta {

// What stands at a folder's path.
enum class Place {
    Nothing, // no file or folder of that name
    File,    // a plain file: never taken for a folder of icons, never moved or deleted
    Folder,
    Unknown, // the platform would not say
};

// What a folder holds.
enum class Holding {
    OwnCopies, // only copies of files of the program's own sets, whole or cut short
    Other,     // something the program could not make again: the game's own icons
    Unknown,   // it could not be read
};

enum class ReplaceStep {
    Refuse,             // change nothing and say the replace failed
    MoveAside,          // move the icon folder to the set-aside folder, then unpack
    ClearAsideThenMove, // delete the set-aside folder (the program's own copies), then as above
    UnpackOver,         // unpack over what the icon folder holds (or into a new one)
};

enum class RestoreStep {
    NoBackup,         // nothing was set aside: say so and change nothing
    Refuse,           // change nothing and say the restore failed
    SwapBack,         // the set-aside folder goes back in place, then a stock copy beside it
    RefreshStockCopy, // the game's icons are in place already: complete the stock copy
};

// The holdings are asked for only when the decision needs them: reading a folder costs a
// listing and, for files that are not plainly the program's, their bytes.
using HoldingOf = std::function<Holding()>;

ReplaceStep PlanReplace(Place icon, Place aside, const HoldingOf &icon_holding,
                        const HoldingOf &aside_holding);
RestoreStep PlanRestore(Place icon, Place aside, const HoldingOf &icon_holding,
                        const HoldingOf &aside_holding);

} // namespace korvanta
