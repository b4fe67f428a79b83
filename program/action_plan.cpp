#include "program/action_plan.h"

namespace korvanta {
namespace {

// Both folders exist and the icon folder is to be looked into: the program's own copies there
// are its to overwrite or throw away; an unreadable folder is left alone; the game's icons
// leave the decision to what the set-aside folder holds, where only the program's own copies
// may go.
template <typename Step>
Step ByHoldings(const HoldingOf &icon_holding, const HoldingOf &aside_holding, Step own_icons,
                Step own_aside, Step refuse) {
    const Holding icons = icon_holding();
    if (icons == Holding::OwnCopies)
        return own_icons;
    if (icons == Holding::Unknown)
        return refuse;
    return aside_holding() == Holding::OwnCopies ? own_aside : refuse;
}

} // namespace

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
    // Own copies in the icon folder: the foreign set, or part of it, is installed. The game's
    // icons in place and something in the set-aside folder: only the program's own copies may
    // make room for them.
    return ByHoldings(icon_holding, aside_holding, ReplaceStep::UnpackOver,
                      ReplaceStep::ClearAsideThenMove, ReplaceStep::Refuse);
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
    // Own copies in the icon folder: the installed folder is the program's to throw away. The
    // game's icons there: the set-aside folder is a stock copy the last restore made (then it
    // is completed), or icons of the game's too (then nothing goes).
    return ByHoldings(icon_holding, aside_holding, RestoreStep::SwapBack,
                      RestoreStep::RefreshStockCopy, RestoreStep::Refuse);
}

} // namespace korvanta
