// The common checks themselves: each kind of damage an extraction could do must be caught,
// or every hostile case would pass for nothing.
#include "tests/hostile/harness.h"
#include "tests/hostile/outcome.h"
#include "tests/support/files.h"
#include "tests/unzip/zip_builder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace korvanta::test {
namespace {

std::string SmallSet() {
    ZipBuilder builder;
    builder.AddDirectory("class/");
    builder.Add("class/a.tga", std::string(2000, 'a'));
    builder.Add("class/b.tga", "bbbb", 0);
    return builder.Bytes();
}

bool Mentions(const std::vector<std::string> &problems, const std::string &words) {
    for (const std::string &p : problems) {
        if (p.find(words) != std::string::npos)
            return true;
    }
    return false;
}

TEST(OutcomeChecks, CatchEveryKindOfDamage) {
    LoadHarnessWindow();
    Arena arena;
    const std::string dest = arena.destination();
    struct Case {
        const char *what;
        std::function<void(Extraction &)> spoil;
        const char *caught_as;
    } cases[] = {
        {"a file with other bytes",
         [&](Extraction &) { WriteAll(dest + "\\class\\a.tga", "not a"); }, "not the intact"},
        {"a file no entry names", [&](Extraction &) { WriteAll(dest + "\\class\\x.tga", "x"); },
         "not named after any entry"},
        {"a folder no entry names",
         [&](Extraction &) { CreateDirectoryA((dest + "\\other").c_str(), nullptr); },
         "folder not named"},
        {"an entry missing", [&](Extraction &) { DeleteFileA((dest + "\\class\\b.tga").c_str()); },
         "is missing"},
        {"a file one level up", [&](Extraction &) { WriteAll(dest + "\\..\\a.tga", "escaped"); },
         "outside"},
        {"a file in the current directory",
         [&](Extraction &) { WriteAll(dest + "\\..\\work\\a.tga", "escaped"); }, "outside"},
        {"minus one for an archive that exists", [](Extraction &x) { x.result = -1; },
         "for an archive that exists"},
        {"a success without the final report", [](Extraction &x) { x.reports.pop_back(); },
         "last report is not 100"},
        {"a report going back",
         [](Extraction &x) {
             x.reports = {0, 50, 40, 100};
         },
         "progress report 2"},
        {"no report", [](Extraction &x) { x.reports.clear(); }, "no progress report"},
    };
    for (const Case &c : cases) {
        arena.Reset();
        Extraction x = arena.Extract(SmallSet());
        ASSERT_EQ(x.result, 1) << c.what;
        const ZipEntries reference = ReadZipEntries(arena.archive());
        ASSERT_EQ(CheckOutcome(arena, x, reference), std::vector<std::string>{}) << c.what;
        c.spoil(x);
        const std::vector<std::string> problems = CheckOutcome(arena, x, reference);
        EXPECT_TRUE(Mentions(problems, c.caught_as)) << c.what;
    }
    // After a failure, partial files are allowed, but only under their entries' names.
    arena.Reset();
    Extraction x = arena.Extract(SmallSet());
    x.result = 0;
    WriteAll(dest + "\\class\\a.tga", "partial");
    EXPECT_EQ(CheckOutcome(arena, x, ReadZipEntries(arena.archive(), false)),
              std::vector<std::string>{});
    WriteAll(dest + "\\class\\z.tga", "z");
    EXPECT_TRUE(Mentions(CheckOutcome(arena, x, ReadZipEntries(arena.archive(), false)),
                         "not named after any entry"));
    arena.Reset();
}

} // namespace
} // namespace korvanta::test
