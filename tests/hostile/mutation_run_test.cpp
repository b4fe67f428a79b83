// Random damage to the real staged foreign archive: a fixed seed, a bounded number of
// mutated copies, each extracted through ExtractArchive under a time bound and held to the
// common checks. KORVANTA_HOSTILE_MUTATIONS and KORVANTA_HOSTILE_SEED change the count and
// the seed (tests/hostile/long-mutation-run.sh runs a long one). The copies are dealt out to
// a few cases, every one of which makes the whole sequence and extracts its share, so that
// the run spreads over the lanes and a case's time stays far inside its limit.
#include "tests/hostile/harness.h"
#include "tests/hostile/mutator.h"
#include "tests/hostile/outcome.h"
#include "tests/support/files.h"
#include "tests/support/wait_limit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace korvanta::test {
namespace {

constexpr uint32_t kDefaultCopies = 300;
constexpr uint32_t kDefaultSeed = 20090109;
// Reported failures stop here: one fault tends to show in many copies.
constexpr int kMaxReportedCopies = 15;

uint32_t FromEnvironment(const char *name, uint32_t fallback) {
    const char *text = std::getenv(name);
    return text && *text ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : fallback;
}

// The copies are dealt out in turn to this many cases.
constexpr uint32_t kShares = 4;
class MutationRun : public ::testing::TestWithParam<uint32_t> {};

TEST_P(MutationRun, DamagedCopiesOfTheForeignSet) {
    const uint32_t share = GetParam();
    const std::string original = ReadAll(KORVANTA_FOREIGN_ZIP_PATH);
    ASSERT_GT(original.size(), 100000u) << KORVANTA_FOREIGN_ZIP_PATH;
    const uint32_t copies = FromEnvironment("KORVANTA_HOSTILE_MUTATIONS", kDefaultCopies);
    const uint32_t seed = FromEnvironment("KORVANTA_HOSTILE_SEED", kDefaultSeed);
    Mutator mutator(original, seed);
    ASSERT_TRUE(mutator.valid());

    LoadHarnessWindow();
    Arena arena;
    Watchdog watchdog(kWaitLimitMs);
    auto run = [&](const std::string &what, const std::string &bytes) {
        arena.Reset();
        watchdog.Arm(what);
        Extraction x = arena.Extract(bytes);
        watchdog.Disarm();
        return std::make_pair(
            x, CheckOutcome(arena, x, ReadZipEntries(arena.archive(), x.result == 1)));
    };

    // The checks must accept the undamaged archive, or they would fail every copy for
    // nothing.
    auto [intact, intact_problems] = run("the undamaged archive", original);
    ASSERT_EQ(intact.result, 1);
    ASSERT_EQ(intact_problems, std::vector<std::string>{});

    int results[kMutationKinds][2] = {};
    int failed_copies = 0;
    for (uint32_t n = 0; n < copies && failed_copies < kMaxReportedCopies; ++n) {
        const Mutant m = mutator.Next();
        if (n % kShares != share)
            continue;
        const std::string what = "seed " + std::to_string(seed) + " copy " + std::to_string(n) +
                                 " (" + MutationKindName(m.kind) + "): " + m.what;
        auto [x, problems] = run(what, m.bytes);
        if (x.result == 0 || x.result == 1)
            ++results[static_cast<int>(m.kind)][x.result];
        for (const std::string &problem : problems)
            ADD_FAILURE() << what << ": " << problem;
        failed_copies += !problems.empty();
    }
    int refused = 0, extracted = 0;
    for (int k = 0; k < kMutationKinds; ++k) {
        std::printf("%-13s result 0: %4d   result 1: %4d\n",
                    MutationKindName(static_cast<MutationKind>(k)), results[k][0], results[k][1]);
        refused += results[k][0];
        extracted += results[k][1];
    }
    // Damage that is always refused or never noticed would mean the copies miss their aim;
    // a share of a short run may by chance hold only one kind.
    if (refused + extracted >= 20) {
        EXPECT_GT(refused, 0);
        EXPECT_GT(extracted, 0);
    }
    arena.Reset();
    CloseHarnessWindow();
}

INSTANTIATE_TEST_SUITE_P(Share, MutationRun, ::testing::Range(0u, kShares));

} // namespace
} // namespace korvanta::test
