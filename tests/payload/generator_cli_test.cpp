// korvanta-gen as the build runs it: reproducible archives, the real-artwork option with its
// checks, the program icon and the contact sheet.

#include "archive_rules.h"
#include "tests/support/files.h"
#include "zip_parse.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <zlib.h>

using namespace payload_test;
namespace fs = std::filesystem;

namespace {

// Runs the generator; returns its exit code and what it wrote to stderr.
int RunGenerator(const std::string &args, std::string *errors = nullptr) {
    const fs::path log = fs::path(ScratchDir("log")) / "stderr.txt";
    const int status = std::system(
        (std::string("'") + KORVANTA_GEN + "' " + args + " 2> '" + log.string() + "'").c_str());
    if (errors)
        *errors = korvanta::test::ReadAll(log.string());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void WriteFile(const fs::path &path, const std::vector<uint8_t> &bytes) {
    korvanta::test::WriteAll(path.string(),
                             {reinterpret_cast<const char *>(bytes.data()), bytes.size()});
}

// A folder holding the files of one generated set, as real artwork would be delivered.
fs::path ArtFolder(const std::string &name, bool stock) {
    const fs::path dir = ScratchDir(name);
    for (const auto &[leaf, bytes] : UnpackedSet(stock))
        WriteFile(dir / leaf, bytes);
    return dir;
}

TEST(Generator, TwoRunsWriteTheSameBytesAsTheBuild) {
    const std::string a = ScratchDir("run-a"), b = ScratchDir("run-b");
    ASSERT_EQ(RunGenerator("archives --out '" + a + "'"), 0);
    ASSERT_EQ(RunGenerator("archives --out '" + b + "'"), 0);
    for (const char *zip : {"/foreign.zip", "/stock.zip"}) {
        SCOPED_TRACE(zip);
        const std::vector<uint8_t> first = ReadBytes(a + zip);
        ASSERT_GT(first.size(), 100000u);
        EXPECT_EQ(first, ReadBytes(b + zip));
        EXPECT_EQ(first, ReadBytes(ArchiveDir() + zip));
    }
}

TEST(Generator, RealArtworkIsPackedWithTheSameLayout) {
    const fs::path foreign = ArtFolder("art-foreign", false), stock = ArtFolder("art-stock", true);
    const std::string out = ScratchDir("art-out");
    ASSERT_EQ(RunGenerator("archives --out '" + out + "' --foreign-art '" + foreign.string() +
                           "' --stock-art '" + stock.string() + "'"),
              0);
    // The same files packed again give the very same archives.
    EXPECT_EQ(ReadBytes(out + "/foreign.zip"), ReadBytes(ArchiveDir() + "/foreign.zip"));
    EXPECT_EQ(ReadBytes(out + "/stock.zip"), ReadBytes(ArchiveDir() + "/stock.zip"));
}

TEST(Generator, SharedFilesMustMatchBetweenTheTwoArtFolders) {
    const fs::path foreign = ArtFolder("share-foreign", false),
                   stock = ArtFolder("share-stock", true);
    // A valid but different Reject.tga: another run-length frame without its footer.
    std::vector<uint8_t> other = ReadBytes((stock / "class_AllEff_Ani0.tga").string());
    other.resize(other.size() - 26);
    WriteFile(stock / "Reject.tga", other);
    std::string errors;
    EXPECT_NE(RunGenerator("archives --out '" + ScratchDir("share-out") + "' --foreign-art '" +
                               foreign.string() + "' --stock-art '" + stock.string() + "'",
                           &errors),
              0);
    EXPECT_NE(errors.find((stock / "Reject.tga").string() + ": differs from " +
                          (foreign / "Reject.tga").string()),
              std::string::npos)
        << errors;
}

struct BadArt {
    const char *file;
    std::function<void(const fs::path &)> spoil;
    const char *rule;
};

void Patch(const fs::path &p, size_t at, uint8_t value) {
    std::vector<uint8_t> b = ReadBytes(p.string());
    b.at(at) = value;
    WriteFile(p, b);
}

void Cut(const fs::path &p, uintmax_t bytes) {
    fs::resize_file(p, fs::file_size(p) - bytes);
}

void PrintTo(const BadArt &c, std::ostream *os) {
    *os << c.file;
}

// Every rule has its case in the unit tests; these show the command reports it by file.
class RejectsBadArt : public testing::TestWithParam<BadArt> {};

TEST_P(RejectsBadArt, NamesTheFileAndTheRuleItBreaks) {
    const fs::path art = ArtFolder("bad-art", false);
    const fs::path file = art / GetParam().file;
    GetParam().spoil(file);
    std::string errors;
    EXPECT_NE(RunGenerator("archives --out '" + ScratchDir("bad-out") + "' --foreign-art '" +
                               art.string() + "'",
                           &errors),
              0);
    EXPECT_NE(errors.find(file.string() + ": " + GetParam().rule), std::string::npos) << errors;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RejectsBadArt,
    testing::Values(BadArt{"BigClass_7.tga", [](auto p) { Patch(p, 16, 32); },
                           "cut short: the pixel data ends after 7506 of "
                           "10000 pixels"},
                    BadArt{"Reject.tga", [](auto p) { Cut(p, 100); }, "cut short"},
                    BadArt{"Thumbs.db", [](auto p) { Patch(p, 0, 0); }, "not a compound file"},
                    BadArt{"class_55.tga", [](auto p) { fs::remove(p); }, "missing"},
                    BadArt{"class_12.tga", [](auto p) { Patch(p, 12, 24); },
                           "24 × 26 pixels, must be 23 × 26"}),
    [](const auto &p) { return "Case" + std::to_string(p.index); });

TEST(Generator, ProgramIconIsOneOpaque64By64Bitmap) {
    const fs::path ico = fs::path(ScratchDir("icon")) / "korvanta.ico";
    ASSERT_EQ(RunGenerator("icon --out '" + ico.string() + "'"), 0);
    const std::vector<uint8_t> b = ReadBytes(ico.string());
    ASSERT_EQ(b.size(), 12862u);
    EXPECT_EQ(Le16(b, 0), 0);
    EXPECT_EQ(Le16(b, 2), 1);
    EXPECT_EQ(Le16(b, 4), 1);
    EXPECT_EQ(b[6], 64);
    EXPECT_EQ(b[7], 64);
    EXPECT_EQ(b[8], 0);
    EXPECT_EQ(b[9], 0);
    EXPECT_EQ(Le16(b, 10), 0);
    EXPECT_EQ(Le16(b, 12), 24);
    EXPECT_EQ(Le32(b, 14), 12840u);
    EXPECT_EQ(Le32(b, 18), 22u);
    EXPECT_EQ(Le32(b, 22), 40u);
    EXPECT_EQ(Le32(b, 26), 64u);
    EXPECT_EQ(Le32(b, 30), 128u);
    EXPECT_EQ(Le16(b, 34), 1);
    EXPECT_EQ(Le16(b, 36), 24);
    EXPECT_EQ(Le32(b, 38), 0u);
    EXPECT_EQ(Le32(b, 42), 12288u);
    EXPECT_TRUE(std::all_of(b.end() - 512, b.end(), [](uint8_t v) { return v == 0; }));
    // An emblem, not a flat square: many distinct colours.
    std::set<uint32_t> colours;
    for (size_t at = 62; at < 62 + 12288; at += 3)
        colours.insert(b[at] | b[at + 1] << 8 | b[at + 2] << 16);
    EXPECT_GT(colours.size(), 200u);
}

uint32_t Be32(const std::vector<uint8_t> &b, size_t at) {
    return uint32_t(b.at(at)) << 24 | b.at(at + 1) << 16 | b.at(at + 2) << 8 | b.at(at + 3);
}

TEST(Generator, ContactSheetIsAWellFormedPng) {
    const fs::path png = fs::path(ScratchDir("sheet")) / "sheet.png";
    ASSERT_EQ(RunGenerator("contact-sheet --out '" + png.string() + "' --archives '" +
                           ArchiveDir() + "'"),
              0);
    const std::vector<uint8_t> b = ReadBytes(png.string());
    const std::vector<uint8_t> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_GT(b.size(), 8u);
    ASSERT_TRUE(std::equal(signature.begin(), signature.end(), b.begin()));
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> idat;
    std::vector<std::string> types;
    for (size_t at = 8; at + 12 <= b.size();) {
        const uint32_t length = Be32(b, at);
        ASSERT_LE(at + 12 + length, b.size());
        const std::string type(b.begin() + at + 4, b.begin() + at + 8);
        EXPECT_EQ(crc32(0, &b[at + 4], length + 4), Be32(b, at + 8 + length)) << type;
        if (type == "IHDR") {
            width = Be32(b, at + 8);
            height = Be32(b, at + 12);
            EXPECT_EQ(b[at + 16], 8);
            EXPECT_EQ(b[at + 17], 6);
        } else if (type == "IDAT") {
            idat.insert(idat.end(), b.begin() + at + 8, b.begin() + at + 8 + length);
        }
        types.push_back(type);
        at += 12 + length;
    }
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), "IHDR");
    EXPECT_EQ(types.back(), "IEND");
    // Both sets side by side: wider than two ladders of ten 100-pixel icons.
    EXPECT_GT(width, 2000u);
    std::vector<uint8_t> raw(size_t(height) * (1 + 4 * size_t(width)));
    uLongf size = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &size, idat.data(), idat.size()), Z_OK);
    EXPECT_EQ(size, raw.size());
}

TEST(Generator, RefusesUnknownCommandsAndOptions) {
    EXPECT_EQ(RunGenerator("paint --out x"), 2);
    EXPECT_EQ(RunGenerator("icon --colour red"), 2);
    EXPECT_EQ(RunGenerator("archives"), 1); // --out is required
}

} // namespace
