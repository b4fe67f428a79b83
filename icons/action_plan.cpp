#include "icons/action_plan.h"

namespace korvanta {

ReplaceStep PlanReplace(Place icon, Place aside, const HoldingOf &icon_holding,
                        const HoldingOf &aside_holding) {
    // A file is never a folder of icons, and a name the platform will not answer for is
    // left alone.
    if (icon == Place::File || icon == Place::Unknown || aside == Place::File ||
        aside == Place::Unknown)
        return ReplaceStep::Refuse;
    if (icon == Place::Nothing)
        return ReplaceStep::UnpackOver;
    // A fresh installation: whatever the icon folder holds is what the game shows, and the
    // set-aside folder is where a restore finds it again.
    if (aside == Place::Nothing)
        return ReplaceStep::MoveAside;
    switch (icon_holding()) {
    case Holding::OwnCopies:
        return ReplaceStep::UnpackOver; // the foreign set, or part of it, is installed
    case Holding::Unknown:
        return ReplaceStep::Refuse;
    case Holding::Other:
        break;
    }
    // The game's icons are in place and something is in the set-aside folder: only the
    // program's own copies may make room for them.
    return aside_holding() == Holding::OwnCopies ? ReplaceStep::ClearAsideThenMove
                                                 : ReplaceStep::Refuse;
}

RestoreStep PlanRestore(Place icon, Place aside, const HoldingOf &icon_holding,
                        const HoldingOf &aside_holding) {
    // A file is never a backup.
    if (aside == Place::Nothing || aside == Place::File)
        return RestoreStep::NoBackup;
    if (aside == Place::Unknown || icon == Place::File || icon == Place::Unknown)
        return RestoreStep::Refuse;
    if (icon == Place::Nothing)
        return RestoreStep::SwapBack;
    switch (icon_holding()) {
    case Holding::OwnCopies:
        return RestoreStep::SwapBack; // the installed folder is the program's to throw away
    case Holding::Unknown:
        return RestoreStep::Refuse;
    case Holding::Other:
        break;
    }
    // The icon folder holds the game's icons: the set-aside folder is a stock copy the last
    // restore made (then it is completed), or icons of the game's too (then nothing goes).
    return aside_holding() == Holding::OwnCopies ? RestoreStep::RefreshStockCopy
                                                 : RestoreStep::Refuse;
}

} // namespace korvanta
