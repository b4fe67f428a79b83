#include "program/action_plan.h"

#include <gtest/gtest.h>

#include <optional>

namespace korvanta {
namespace {

constexpr auto N = Place::Nothing, F = Place::File, D = Place::Folder, U = Place::Unknown;
constexpr auto Own = Holding::OwnCopies, Oth = Holding::Other, Unk = Holding::Unknown;

// A holding the decision may ask for; asking for one it was not given is a fault of the case.
struct Asked {
    std::optional<Holding> holding;
    int times = 0;
    HoldingOf Of() {
        return [this] {
            ++times;
            EXPECT_TRUE(holding.has_value()) << "asked for a holding it does not need";
            return holding.value_or(Holding::Unknown);
        };
    }
};

template <typename Step> struct PlanCase {
    Place icon, aside;
    std::optional<Holding> icon_holding, aside_holding;
    Step step;
};

// Each case gets its step, and no holding is asked for twice.
template <typename Step, typename Plan, size_t n>
void ExpectSteps(const PlanCase<Step> (&cases)[n], Plan plan) {
    for (const PlanCase<Step> &c : cases) {
        Asked icon{c.icon_holding}, aside{c.aside_holding};
        EXPECT_EQ(plan(c.icon, c.aside, icon.Of(), aside.Of()), c.step)
            << static_cast<int>(c.icon) << "/" << static_cast<int>(c.aside);
        EXPECT_LE(icon.times, 1);
        EXPECT_LE(aside.times, 1);
    }
}

TEST(ActionPlan, Replace) {
    using S = ReplaceStep;
    const PlanCase<ReplaceStep> cases[] = {
        // A fresh installation, and what is left when the icon folder is gone.
        {D, N, {}, {}, S::MoveAside},
        {N, N, {}, {}, S::UnpackOver},
        {N, D, {}, {}, S::UnpackOver},
        // The foreign set, or part of it, is installed: unpack over it, the backup stays.
        {D, D, Own, {}, S::UnpackOver},
        // After a restore: the stock copy makes room for the game's icons.
        {D, D, Oth, Own, S::ClearAsideThenMove},
        // Both hold what the program cannot make again, or cannot be read: nothing moves.
        {D, D, Oth, Oth, S::Refuse},
        {D, D, Oth, Unk, S::Refuse},
        {D, D, Unk, {}, S::Refuse},
        // A plain file is never a folder of icons.
        {F, N, {}, {}, S::Refuse},
        {D, F, {}, {}, S::Refuse},
        {N, F, {}, {}, S::Refuse},
        {U, N, {}, {}, S::Refuse},
        {D, U, {}, {}, S::Refuse},
    };
    ExpectSteps(cases, PlanReplace);
}

TEST(ActionPlan, Restore) {
    using S = RestoreStep;
    const PlanCase<RestoreStep> cases[] = {
        // Nothing set aside, or only a plain file of that name: nothing to restore.
        {D, N, {}, {}, S::NoBackup},
        {D, F, {}, {}, S::NoBackup},
        {N, N, {}, {}, S::NoBackup},
        // The foreign set is installed, or no icon folder at all: the backup goes back.
        {D, D, Own, {}, S::SwapBack},
        {N, D, {}, {}, S::SwapBack},
        // The game's icons are in place and a stock copy beside them: complete the copy.
        {D, D, Oth, Own, S::RefreshStockCopy},
        // The game's icons in both, or unreadable: nothing is thrown away.
        {D, D, Oth, Oth, S::Refuse},
        {D, D, Oth, Unk, S::Refuse},
        {D, D, Unk, {}, S::Refuse},
        {F, D, {}, {}, S::Refuse},
        {U, D, {}, {}, S::Refuse},
        {D, U, {}, {}, S::Refuse},
    };
    ExpectSteps(cases, PlanRestore);
}

} // namespace
} // namespace korvanta
