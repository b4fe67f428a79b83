// A modder's art folder: every form of file that is kept or converted, every refusal, and the
// folder as a whole (names without regard to case, files left out, all problems at once, the
// shared files and Thumbs.db between two folders).

#include "archive_rules.h"
#include "art_file.h"
#include "art_folder.h"
#include "png_writer.h"
#include "tga.h"
#include "tga_forms.h"
#include "zip_parse.h"

#include <functional>
#include <gtest/gtest.h>

using namespace korvanta::payload;
using payload_test::TgaForm;
using payload_test::WriteTgaForm;

namespace {

const Entry &Listed(const std::string &leaf) {
    static const std::vector<Entry> entries = EntryList(IconSet::Foreign);
    for (const Entry &e : entries)
        if (e.leaf == leaf)
            return e;
    throw std::out_of_range(leaf);
}

// Colours every form can hold exactly (5-bit channels widened as a reader widens them, grey
// columns for the grey-scale file), transparent in the left third.
Image Picture(int w, int h, bool grey = false) {
    const uint8_t levels[] = {0x00, 0x42, 0x84, 0xC6, 0xFF};
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t r = levels[(x + y) % 5], g = levels[(x * 3) % 5], b = levels[y % 5];
            img.At(x, y) =
                grey ? Rgba8{r, r, r, 255} : Rgba8{r, g, b, x < w / 3 ? uint8_t(0) : uint8_t(255)};
        }
    return img;
}

Image Opaque(Image img) {
    for (Rgba8 &p : img.pixels)
        p.a = 255;
    return img;
}

std::vector<uint8_t> Tga(const std::string &leaf, const Image &img) {
    return EncodeTga(img, *Listed(leaf).image);
}

struct Accepted {
    const char *what;
    std::string leaf;
    std::function<std::vector<uint8_t>()> file;
    ArtOutcome outcome;
    Image pixels; // what the archive's file must show (converted files)
};

TEST(ArtFile, KeepsTheFourKindsAndConvertsEveryOtherReadableImage) {
    const Image rank = Picture(23, 26), small = Picture(17, 19);
    const TgaFormat rank32{23, 26, 32, kTgaUncompressed, true};
    const std::vector<Accepted> cases = {
        {"the listed kind",
         "class_1.tga",
         [&] { return Tga("class_1.tga", Opaque(rank)); },
         ArtOutcome::Kept,
         {}},
        {"32 bits where 24 are listed",
         "class_20.tga",
         [&] { return EncodeTga(rank, rank32); },
         ArtOutcome::Kept,
         {}},
        {"run-length, 24 bits",
         "class_2.tga",
         [&] {
             return EncodeTga(Opaque(rank), {23, 26, 24, kTgaRunLength, true});
         },
         ArtOutcome::Kept,
         {}},
        {"uncompressed where run-length is listed",
         "class_AllEff_Ani1.tga",
         [&] { return EncodeTga(rank, rank32); },
         ArtOutcome::Kept,
         {}},
        {"Reject.tga as listed, without footer",
         "Reject.tga",
         [&] { return Tga("Reject.tga", rank); },
         ArtOutcome::Kept,
         {}},
        {"rows top-down, no footer", "class_3.tga",
         [&] { return WriteTgaForm(rank, {.top_down = true}); }, ArtOutcome::Converted,
         Flatten(rank, kOpaqueBackground)},
        {"right to left, run-length", "class_0.tga",
         [&] { return WriteTgaForm(rank, {.rle = true, .right_to_left = true}); },
         ArtOutcome::Converted, rank},
        {"an image ID", "PayUserIconBig.tga",
         [&] { return WriteTgaForm(rank, {.id = "made by hand", .footer = true}); },
         ArtOutcome::Converted, rank},
        {"an extension area after the pixels", "class_LineEff_Ani4.tga",
         [&] {
             return WriteTgaForm(rank, {.after = std::vector<uint8_t>(495, 7), .footer = true});
         },
         ArtOutcome::Converted, rank},
        {"Reject.tga with a footer", "Reject.tga",
         [&] { return WriteTgaForm(rank, {.rle = true, .footer = true}); }, ArtOutcome::Converted,
         rank},
        {"16 bits with an alpha bit", "sclass_0.tga",
         [&] { return WriteTgaForm(small, {.bits = 16}); }, ArtOutcome::Converted, small},
        {"colour-mapped, run-length", "PayUserIconSmall.tga",
         [&] { return WriteTgaForm(small, {.mapped = true, .rle = true}); }, ArtOutcome::Converted,
         Opaque(small)}, // the map's colours have no alpha
        {"grey-scale", "sclass_5.tga",
         [&] { return WriteTgaForm(Picture(17, 19, true), {.bits = 8, .grey = true}); },
         ArtOutcome::Converted, Picture(17, 19, true)},
        {"PNG with alpha", "class_0.tga", [&] { return EncodePng(rank); }, ArtOutcome::Converted,
         rank},
        {"PNG with alpha for a 24-bit entry", "BigClass_9.tga",
         [&] { return EncodePng(Picture(100, 100)); }, ArtOutcome::Converted,
         Flatten(Picture(100, 100), kOpaqueBackground)},
    };
    for (const Accepted &c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> file = c.file();
        const ArtFile art = PrepareArtFile(Listed(c.leaf), file);
        ASSERT_EQ(art.outcome, c.outcome) << art.note;
        if (c.outcome == ArtOutcome::Kept) {
            EXPECT_EQ(art.bytes, file);
            continue;
        }
        EXPECT_EQ(payload_test::KindMismatch(art.bytes, *payload_test::RuleFor(false, c.leaf)), "");
        const Image back = DecodeTga(art.bytes);
        ASSERT_EQ(back.width, c.pixels.width);
        EXPECT_TRUE(back.pixels == c.pixels.pixels);
    }
    // Explorer writes its cache at any size; only the compound-file signature is asked for.
    std::vector<uint8_t> thumbs(3 * 512, 0);
    std::copy_n("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8, thumbs.begin());
    const ArtFile kept = PrepareArtFile(Listed("Thumbs.db"), thumbs);
    EXPECT_EQ(kept.outcome, ArtOutcome::Kept);
    EXPECT_EQ(kept.bytes, thumbs);
}

struct Refusal {
    const char *what;
    std::string leaf;
    std::function<std::vector<uint8_t>()> file;
    std::string expected; // the start of the note
};

TEST(ArtFile, RefusesWithWhatIsExpected) {
    const Image rank = Picture(23, 26);
    auto cut = [](std::vector<uint8_t> b, size_t size) {
        b.resize(size);
        return b;
    };
    const std::vector<Refusal> cases = {
        {"a wrong size", "class_12.tga", [&] { return Tga("class_12.tga", Picture(24, 26)); },
         "24 × 26 pixels, must be 23 × 26"},
        {"a PNG of a wrong size", "sclass_3.tga", [&] { return EncodePng(Picture(17, 20)); },
         "17 × 20 pixels, must be 17 × 19"},
        {"uncompressed pixels cut", "class_7.tga",
         [&] { return cut(Tga("class_7.tga", rank), 900); },
         "cut short: the pixel data ends after 294 of 598 pixels"},
        {"run-length pixels cut", "class_AllEff_Ani0.tga",
         [&] { return cut(Tga("class_AllEff_Ani0.tga", rank), 300); }, "cut short"},
        {"the footer cut", "class_8.tga",
         [&] { return cut(Tga("class_8.tga", Opaque(rank)), 1830); },
         "cut short: the footer ends after 18 of 26 bytes"},
        {"a run that overruns the image", "Reject.tga",
         [&] {
             // Packets of 128 pixels: the fifth and last one claims 128 where 86 are left.
             std::vector<uint8_t> b = WriteTgaForm(rank, {.rle = true});
             b.at(18 + 4 * (1 + 128 * 4)) = 0xFF;
             return b;
         },
         "run-length data decodes to more than 23 × 26 pixels"},
        {"a text file", "class_9.tga",
         [] {
             return std::vector<uint8_t>(std::begin("[.ShellClassInfo]\r\nIconResource=x\r\n"),
                                         std::end("[.ShellClassInfo]\r\nIconResource=x\r\n"));
         },
         "not an image"},
        {"an empty file", "class_10.tga", [] { return std::vector<uint8_t>{}; }, "not an image"},
        {"a PNG cut short", "class_11.tga",
         [&] { return cut(EncodePng(rank), EncodePng(rank).size() / 2); },
         "cut short or damaged PNG"},
        {"a TGA form that is not read", "class_13.tga",
         [&] {
             std::vector<uint8_t> b = WriteTgaForm(rank, {.bits = 24});
             b[16] = 8; // 8-bit true colour
             return b;
         },
         "a TGA of type 2 with 8-bit pixels"},
        {"a colour index past the map", "class_14.tga",
         [&] {
             std::vector<uint8_t> b = WriteTgaForm(rank, {.mapped = true});
             b.back() = 200;
             return b;
         },
         "colour index 200 lies outside the colour map"},
        {"a Thumbs.db that is no compound file", "Thumbs.db",
         [] { return std::vector<uint8_t>(79360, 0); }, "not a compound file"},
    };
    for (const Refusal &c : cases) {
        SCOPED_TRACE(c.what);
        const ArtFile art = PrepareArtFile(Listed(c.leaf), c.file());
        EXPECT_EQ(art.outcome, ArtOutcome::Refused);
        EXPECT_EQ(art.note.rfind(c.expected, 0), 0u) << art.note;
        EXPECT_TRUE(art.bytes.empty());
    }
}

// A folder: the drawn foreign set, changed per case.
struct Folder {
    std::map<std::string, std::vector<uint8_t>> files = payload_test::UnpackedSet(false);
    std::vector<std::string> folders;

    ArtFolder Read(std::set<std::string> unreadable = {}) const {
        FolderListing listing{{}, folders};
        for (const auto &[name, bytes] : files)
            listing.files.push_back(name);
        return ReadArtFolder(IconSet::Foreign, "/art", listing,
                             [&](const std::string &name, uint64_t) -> FileRead {
                                 if (unreadable.contains(name))
                                     return {{}, "cannot be read"};
                                 return {files.at(name), ""};
                             });
    }
    void Rename(const std::string &from, const std::string &to) {
        files[to] = files.at(from);
        files.erase(from);
    }
};

TEST(ArtFolder, MatchesNamesWithoutCaseAndLeavesOutWhatIsNoIcon) {
    Folder folder;
    const std::vector<uint8_t> rank40 = folder.files.at("class_40.tga");
    folder.Rename("class_40.tga", "CLASS_40.TGA");
    folder.Rename("sclass_7.tga", "sclass_7.PNG");
    folder.files["sclass_7.PNG"] = EncodePng(Picture(17, 19));
    folder.files.erase("Thumbs.db");
    for (const char *extra : {"desktop.ini", "class_101.tga", "class_40.tga.bak", "Thumbs.db.png"})
        folder.files[extra] = {'x'};
    folder.folders = {"old"};

    const ArtFolder art = folder.Read();
    EXPECT_TRUE(art.problems.empty()) << art.problems.front();
    EXPECT_EQ(art.files.size(), 321u); // the entry list without Thumbs.db
    EXPECT_FALSE(art.files.contains("Thumbs.db"));
    EXPECT_EQ(art.files.at("class_40.tga"), rank40);
    EXPECT_EQ(art.sources.at("class_40.tga"), "CLASS_40.TGA");
    EXPECT_EQ(art.conversions.at("sclass_7.tga"), "PNG");
    EXPECT_EQ(art.left_out, (std::vector<std::string>{"Thumbs.db.png", "class_101.tga",
                                                      "class_40.tga.bak", "desktop.ini", "old/"}));
    const std::vector<std::string> report = DescribeArtFolder(IconSet::Foreign, "/art", art);
    const std::vector<std::string> expected = {
        "ForeignSet: from /art (321 files, 1 converted, 5 left out)",
        "  kept: CLASS_40.TGA, as class_40.tga",
        "  converted: sclass_7.PNG (PNG) to a 24-bit uncompressed TGA with the footer, as "
        "sclass_7.tga",
        "  left out: Thumbs.db.png"};
    EXPECT_EQ(std::vector<std::string>(report.begin(), report.begin() + 4), expected);
}

TEST(ArtFolder, NamesEveryProblemAtOnce) {
    Folder folder;
    folder.files.erase("BigClass_3.tga");
    folder.files.erase("class_AllEff_Ani5.tga");
    folder.files["class_1.png"] = EncodePng(Picture(23, 26));
    folder.files.at("class_12.tga") = Tga("class_12.tga", Picture(24, 26));
    folder.files.at("sclass_9.tga").resize(500);

    const ArtFolder art = folder.Read({"Reject.tga"});
    const std::vector<std::string> expected = {
        "/art/BigClass_3.tga: missing (nor is there a BigClass_3.png)",
        "/art/Reject.tga: cannot be read",
        "/art/class_1.png: one file for class_1.tga, but class_1.tga is there too; keep only one",
        "/art/class_12.tga: 24 × 26 pixels, must be 23 × 26",
        "/art/class_AllEff_Ani5.tga: missing (nor is there a class_AllEff_Ani5.png)",
        "/art/sclass_9.tga: cut short: the pixel data ends after 160 of 323 pixels",
    };
    EXPECT_EQ(art.problems, expected);
}

// The folder above the icons was answered with 321 "missing" lines, "left out: class/" the
// only hint.
TEST(ArtFolder, AFolderWithoutIconsIsOneProblem) {
    struct Case {
        const char *what;
        FolderListing listing;
        std::string problem;
    };
    const std::string none = "/art: none of the set's icons is in this folder";
    const std::vector<Case> cases = {
        {"the folder above the icons",
         {{"Thumbs.db", "desktop.ini"}, {"class"}},
         none + ", but it holds the folder class/: give the folder of the icons itself, such as "
                "/art/class"},
        {"the folder above both sets",
         {{}, {"class2", "class"}},
         none + ", but it holds the folders class/, class2/: give the folder of the icons itself"},
        {"an empty folder", {}, none + " (names such as BigClass_1.tga or class_0.png)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ArtFolder art = ReadArtFolder(IconSet::Foreign, "/art", c.listing,
                                            [](const std::string &name, uint64_t) {
                                                ADD_FAILURE() << name << " read";
                                                return FileRead{};
                                            });
        EXPECT_EQ(art.problems, std::vector<std::string>{c.problem});
        EXPECT_TRUE(art.files.empty());
    }
}

struct Join {
    const char *what;
    bool foreign_folder, stock_folder;
    std::function<void(SetSource &, SetSource &)> change;
    std::vector<std::string> problems;
    std::function<void(const SetSource &, const SetSource &)> check;
};

TEST(SharedFiles, OneFolderSuppliesBothSetsTwoMustAgree) {
    const std::vector<uint8_t> stand_in = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1, 1};
    const std::vector<uint8_t> other_reject = Tga("Reject.tga", Picture(23, 26));
    const std::vector<Join> cases = {
        {"one folder without Thumbs.db",
         true,
         false,
         [&](SetSource &f, SetSource &) {
             f.files.erase("Thumbs.db");
             f.files.at("Reject.tga") = other_reject;
         },
         {},
         [&](const SetSource &f, const SetSource &s) {
             EXPECT_EQ(f.files.at("Thumbs.db"), stand_in);
             EXPECT_EQ(s.files.at("Thumbs.db"), stand_in);
             EXPECT_EQ(s.files.at("Reject.tga"), other_reject);
             EXPECT_NE(s.files.at("class_1.tga"), f.files.at("class_1.tga"));
         }},
        {"only the stock folder",
         false,
         true,
         [&](SetSource &, SetSource &s) { s.files.at("Reject.tga") = other_reject; },
         {},
         [&](const SetSource &f, const SetSource &) {
             EXPECT_EQ(f.files.at("Reject.tga"), other_reject);
         }},
        {"two folders, Thumbs.db in one",
         true,
         true,
         [&](SetSource &f, SetSource &s) {
             f.files.erase("Thumbs.db");
             s.files.at("Thumbs.db").push_back(0);
         },
         {},
         [&](const SetSource &f, const SetSource &s) {
             EXPECT_EQ(f.files.at("Thumbs.db"), s.files.at("Thumbs.db"));
             EXPECT_NE(f.files.at("Thumbs.db"), stand_in);
         }},
        {"two folders with caches of their own",
         true,
         true,
         [&](SetSource &, SetSource &s) { s.files.at("Thumbs.db").push_back(0); },
         {},
         [&](const SetSource &f, const SetSource &s) {
             EXPECT_EQ(f.files.at("Thumbs.db"), s.files.at("Thumbs.db"));
             EXPECT_NE(s.files.at("Thumbs.db"), payload_test::UnpackedSet(false).at("Thumbs.db"));
         }},
        {"two folders that disagree",
         true,
         true,
         [&](SetSource &f, SetSource &s) {
             s.files.at("Reject.tga") = other_reject;
             f.files.at("class_0.tga") = other_reject;
             s.sources["Reject.tga"] = "REJECT.TGA";
         },
         {"/stock/REJECT.TGA: differs from /foreign/Reject.tga; the 22 shared files must be the "
          "same in both folders",
          "/stock/class_0.tga: differs from /foreign/class_0.tga; the 22 shared files must be the "
          "same in both folders"},
         [](const SetSource &, const SetSource &) {}},
    };
    for (const Join &c : cases) {
        SCOPED_TRACE(c.what);
        SetSource foreign{payload_test::UnpackedSet(false), c.foreign_folder ? "/foreign" : ""};
        SetSource stock{payload_test::UnpackedSet(true), c.stock_folder ? "/stock" : ""};
        c.change(foreign, stock);
        EXPECT_EQ(JoinSharedFiles(foreign, stock, stand_in), c.problems);
        c.check(foreign, stock);
    }
}

} // namespace
