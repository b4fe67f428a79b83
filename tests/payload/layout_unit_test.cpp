// The generator's pure pieces: DOS and FILETIME encodings, run-length packets, the TGA rule
// checks, compound-file name order and sizing, and anti-aliased coverage.

#include "archive_rules.h"
#include "canvas.h"
#include "compound_file.h"
#include "dos_time.h"
#include "tga.h"

#include <functional>
#include <gtest/gtest.h>

using namespace korvanta::payload;

namespace {

TEST(DosStamp, EncodesTheArchiveTimes) {
    struct Case {
        CivilTime t;
        uint16_t time, date;
    };
    const Case cases[] = {
        {{2009, 1, 9, 7, 23, 54}, 0x3AFB, 0x3A29},
        {{2012, 2, 7, 18, 38, 44}, 0x94D6, 0x4047},
        {{1980, 1, 1, 0, 0, 0}, 0x0000, 0x0021},
        {{2013, 11, 20, 10, 34, 27}, 0x544D, 0x4374}, // an odd second rounds down
    };
    for (const Case &c : cases) {
        const DosStamp s = ToDos(c.t);
        EXPECT_EQ(s.time, c.time) << c.t.year;
        EXPECT_EQ(s.date, c.date) << c.t.year;
        // The validators' own decoding reads back the time, its second rounded down to even.
        const CivilTime &t = c.t;
        const payload_test::Stamp even{t.year, t.month, t.day, t.hour, t.minute, t.second / 2 * 2};
        EXPECT_EQ(payload_test::FromDos(s.date, s.time), even);
    }
}

TEST(FileTime, ReadsLocalTimeAtUtcPlus8) {
    // Expected values worked out with Python's calendar.timegm.
    EXPECT_EQ(FileTimeOfLocal({2012, 2, 7, 18, 38, 44}, 8), 129730847240000000u);
    EXPECT_EQ(FileTimeOfLocal({2008, 10, 4, 3, 33, 8}, 8), 128675359880000000u);
    EXPECT_EQ(FileTimeOfLocal({1980, 1, 1, 0, 0, 0}, 8), 119599776000000000u);
    EXPECT_EQ(FileTimeOfLocal({1980, 1, 1, 0, 0, 0}, 0) - FileTimeOfLocal({1980, 1, 1, 0, 0, 0}, 8),
              8 * 3600 * 10000000ull);
}

std::vector<uint8_t> Packets(const std::vector<uint8_t> &row) {
    std::vector<uint8_t> out;
    AppendRunLengthRow(out, row, 1);
    return out;
}

TEST(RunLength, PacketsOfOneRow) {
    EXPECT_EQ(Packets({7, 7, 7, 7}), (std::vector<uint8_t>{0x83, 7}));
    EXPECT_EQ(Packets({1, 2, 3, 4}), (std::vector<uint8_t>{0x03, 1, 2, 3, 4}));
    EXPECT_EQ(Packets({1, 1, 2, 3, 3, 3}), (std::vector<uint8_t>{0x81, 1, 0x00, 2, 0x82, 3}));
    EXPECT_EQ(Packets({5, 6, 6}), (std::vector<uint8_t>{0x00, 5, 0x81, 6}));
    // Packets hold at most 128 pixels.
    EXPECT_EQ(Packets(std::vector<uint8_t>(130, 9)), (std::vector<uint8_t>{0xFF, 9, 0x81, 9}));
    std::vector<uint8_t> distinct(129);
    for (size_t i = 0; i < distinct.size(); ++i)
        distinct[i] = static_cast<uint8_t>(i);
    const std::vector<uint8_t> raw = Packets(distinct);
    ASSERT_EQ(raw.size(), 1 + 128 + 1 + 1u);
    EXPECT_EQ(raw[0], 0x7F);
    EXPECT_EQ(raw[129], 0x00);
    EXPECT_EQ(raw[130], 128);
}

// A deterministic picture with runs, edges and varying alpha.
Image TestPicture(int w, int h) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.At(x, y) = x < w / 3 ? Rgba8{}
                                     : Rgba8{uint8_t(x * 11), uint8_t(y * 7), uint8_t(x ^ y),
                                             uint8_t(y < h / 2 ? 255 : x * 9)};
    return img;
}

TEST(Tga, EncodedImagesPassTheirRulesAndDecodeBack) {
    const TgaFormat formats[] = {{23, 26, 32, kTgaRunLength, true},
                                 {23, 26, 32, kTgaRunLength, false},
                                 {17, 19, 32, kTgaUncompressed, true},
                                 {100, 100, 24, kTgaUncompressed, true}};
    for (const TgaFormat &f : formats) {
        SCOPED_TRACE(int(f.type) * 100 + f.bits);
        Image img = TestPicture(f.width, f.height);
        if (f.bits == 24)
            img = Flatten(img, {0, 0, 0, 255});
        const std::vector<uint8_t> file = EncodeTga(img, f);
        EXPECT_EQ(CheckTga(file, f), "");
        const Image back = DecodeTga(file);
        ASSERT_EQ(back.width, f.width);
        ASSERT_EQ(back.height, f.height);
        EXPECT_TRUE(back.pixels == img.pixels);
        // Rows are stored bottom-up: the first stored row is the picture's last.
        if (f.type == kTgaUncompressed) {
            const int x = f.width - 1, bpp = f.bits / 8;
            EXPECT_EQ(file[18 + x * bpp], img.At(x, f.height - 1).b);
            EXPECT_NE(img.At(x, f.height - 1).b, img.At(x, 0).b);
        }
    }
}

TEST(Tga, ChecksNameTheBrokenRule) {
    const TgaFormat rle{23, 26, 32, kTgaRunLength, true};
    const std::vector<uint8_t> good = EncodeTga(TestPicture(23, 26), rle);
    struct Case {
        std::function<void(std::vector<uint8_t> &)> spoil;
        std::string rule;
    };
    const Case cases[] = {
        {[](auto &b) { b.resize(10); }, "shorter than the 18-byte TGA header"},
        {[](auto &b) { b[0] = 1; }, "image ID length is 1, must be 0"},
        {[](auto &b) { b[1] = 1; }, "has a colour map (colour-map type 1)"},
        {[](auto &b) { b[5] = 1; }, "colour-map specification is not all zero"},
        {[](auto &b) { b[2] = 2; }, "image type is 2, must be 10"},
        {[](auto &b) { b[8] = 1; }, "origin is not 0,0"},
        {[](auto &b) { b[14] = 27; }, "dimensions are 23x27, must be 23x26"},
        {[](auto &b) { b[16] = 24; }, "pixel depth is 24 bits, must be 32"},
        {[](auto &b) { b[17] = 0x28; }, "image descriptor is 0x28, must be 0x08"},
        {[](auto &b) { b.resize(40); }, "run-length data ends"},
        {[](auto &b) {
             b.insert(b.end() - 26, {1, 2});
         },
         "2 stray bytes between the pixel data and the footer"},
        {[](auto &b) { b[b.size() - 3] = 'Y'; }, "does not end with the TGA 2.0 footer"},
    };
    for (const Case &c : cases) {
        std::vector<uint8_t> bad = good;
        c.spoil(bad);
        EXPECT_EQ(CheckTga(bad, rle).rfind(c.rule, 0), 0u) << c.rule << " / " << CheckTga(bad, rle);
    }
    // A run packet that claims more pixels than the image has.
    std::vector<uint8_t> overrun = EncodeTga(Image(2, 1), {2, 1, 32, kTgaRunLength, false});
    overrun[18] = 0x82;
    EXPECT_EQ(CheckTga(overrun, {2, 1, 32, kTgaRunLength, false}),
              "run-length packets decode to more than 2 pixels");
    const TgaFormat plain{17, 19, 24, kTgaUncompressed, true};
    std::vector<uint8_t> cut = EncodeTga(Image(17, 19), plain);
    cut.resize(500);
    EXPECT_EQ(CheckTga(cut, plain), "pixel data is cut short");
}

TEST(CompoundFile, SiblingNamesOrderByLengthThenUpperCase) {
    EXPECT_TRUE(CompoundNameLess("2", "10"));
    EXPECT_FALSE(CompoundNameLess("10", "2"));
    EXPECT_TRUE(CompoundNameLess("abc", "ABD"));
    EXPECT_FALSE(CompoundNameLess("ABC", "abc"));
    EXPECT_FALSE(CompoundNameLess("abc", "ABC"));
    EXPECT_TRUE(CompoundNameLess("1", "Catalog"));
}

TEST(CompoundFile, FixedSizeHoldsTheContentOrRefuses) {
    const std::vector<CompoundStream> streams{{"big", std::vector<uint8_t>(5000, 1)},
                                              {"small", std::vector<uint8_t>(100, 2)}};
    // FAT, directory, mini FAT, mini stream and ten sectors of "big": 14 sectors.
    const auto fits = WriteCompoundFile(streams, 512 * 15);
    ASSERT_TRUE(fits.has_value());
    EXPECT_EQ(fits->size(), 512u * 15);
    EXPECT_FALSE(WriteCompoundFile(streams, 512 * 14).has_value());
    EXPECT_FALSE(WriteCompoundFile(streams, 512 * 15 + 1).has_value());
}

TEST(Canvas, CoverageFollowsTheEdges) {
    // 10 x 10 pixels over a 10 x 10 design box: one unit per pixel.
    Canvas cv(10, 10, 10, 10);
    cv.Fill(RoundedBox({2, 2, 5.5, 8}, 0), Hex(0xFF0000));
    const Image img = cv.ToImage();
    EXPECT_EQ(img.At(3, 4), (Rgba8{255, 0, 0, 255})); // inside
    EXPECT_EQ(img.At(1, 4).a, 0);                     // outside
    EXPECT_EQ(img.At(6, 4).a, 0);
    EXPECT_NEAR(img.At(5, 4).a, 128, 1); // the edge halves pixel 5
    EXPECT_EQ(img.At(5, 4).r, 255);      // straight alpha keeps the colour
}

} // namespace
