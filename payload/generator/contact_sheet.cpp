#include "contact_sheet.h"

#include "tga.h"

#include <array>
#include <string>
#include <vector>

namespace korvanta::payload {

namespace {

constexpr int kColumns = 10;
constexpr int kPitch = 112; // column width of every section
constexpr int kMargin = 16;
constexpr int kSideWidth = kColumns * kPitch + 2 * kMargin;
constexpr Rgba8 kPaper{24, 25, 28, 255};
constexpr Rgba8 kInk{150, 154, 160, 255};

// 3 x 5 digits, one row per 3 bits, top row first.
constexpr std::array<uint16_t, 10> kDigits = {
    0b111'101'101'101'111, 0b010'110'010'010'111, 0b111'001'111'100'111, 0b111'001'111'001'111,
    0b101'101'111'001'001, 0b111'100'111'001'111, 0b111'100'111'101'111, 0b111'001'001'001'001,
    0b111'101'111'101'111, 0b111'101'111'001'111};

void Rect(Image &img, int x, int y, int w, int h, Rgba8 c) {
    for (int j = std::max(y, 0); j < std::min(y + h, img.height); ++j)
        for (int i = std::max(x, 0); i < std::min(x + w, img.width); ++i)
            img.At(i, j) = c;
}

void Number(Image &img, int x, int y, int value) {
    const std::string text = std::to_string(value);
    for (size_t k = 0; k < text.size(); ++k) {
        const uint16_t glyph = kDigits[text[k] - '0'];
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (glyph & (1 << ((4 - row) * 3 + (2 - col))))
                    Rect(img, x + int(k) * 8 + col * 2, y + row * 2, 2, 2, kInk);
    }
}

// A checkered tile so that transparent pixels show as such.
void Tile(Image &img, int x, int y, int w, int h) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (x + i < img.width && y + j < img.height)
                img.At(x + i, y + j) =
                    ((i / 6 + j / 6) % 2) ? Rgba8{44, 46, 52, 255} : Rgba8{56, 58, 64, 255};
}

struct Cell {
    std::string name;
    int label; // -1: none
};

// Lays the named images out in rows of kColumns; returns the height used.
int Section(Image &sheet, int left, int top, const FileMap &files, const std::vector<Cell> &cells,
            int scale) {
    int row_height = 0, x = 0, y = top;
    for (size_t i = 0; i < cells.size(); ++i) {
        const auto it = files.find(cells[i].name);
        if (it == files.end())
            continue;
        const Image img = DecodeTga(it->second);
        if (i % kColumns == 0 && i > 0) {
            y += row_height;
            row_height = 0;
        }
        x = left + int(i % kColumns) * kPitch;
        const int w = img.width * scale, h = img.height * scale;
        Tile(sheet, x, y, w, h);
        Blit(sheet, img, x, y, scale);
        if (cells[i].label >= 0)
            Number(sheet, x, y + h + 3, cells[i].label);
        row_height = std::max(row_height, h + 18);
    }
    return y + row_height - top;
}

std::vector<Cell> Ranks(const std::string &prefix) {
    std::vector<Cell> cells;
    for (int n = 1; n <= 100; ++n)
        cells.push_back({prefix + std::to_string(n) + ".tga", n});
    return cells;
}

std::vector<Cell> Singles() {
    std::vector<Cell> cells = {{"class_0.tga", 0},
                               {"sclass_0.tga", 0},
                               {"PayUserIconBig.tga", -1},
                               {"PayUserIconSmall.tga", -1},
                               {"Reject.tga", -1},
                               {"GreenCommunityUserBig.tga", -1},
                               {"GreenCommunityUserSmall.tga", -1}};
    return cells;
}

std::vector<Cell> Frames() {
    std::vector<Cell> cells;
    for (int n = 0; n < 6; ++n)
        cells.push_back({"class_AllEff_Ani" + std::to_string(n) + ".tga", n});
    for (int n = 0; n < 4; ++n) // keep the line frames on rows of their own
        cells.push_back({"", -1});
    for (int n = 0; n < 10; ++n)
        cells.push_back({"class_LineEff_Ani" + std::to_string(n) + ".tga", n});
    return cells;
}

int DrawSide(Image &sheet, int left, const FileMap &files) {
    int y = kMargin;
    y += Section(sheet, left, y, files, Ranks("BigClass_"), 1) + kMargin;
    y += Section(sheet, left, y, files, Ranks("class_"), 4) + kMargin;
    y += Section(sheet, left, y, files, Ranks("sclass_"), 4) + kMargin;
    y += Section(sheet, left, y, files, Singles(), 4) + kMargin;
    y += Section(sheet, left, y, files, Frames(), 4) + kMargin;
    return y;
}

} // namespace

Image ContactSheet(const FileMap &foreign, const FileMap &stock) {
    // Measure on a scratch sheet first: the height follows from the icons.
    Image probe(kSideWidth, 1);
    const int height = std::max(DrawSide(probe, kMargin, foreign), DrawSide(probe, kMargin, stock));
    Image sheet(2 * kSideWidth + 8, height, kPaper);
    DrawSide(sheet, kMargin, foreign);
    Rect(sheet, kSideWidth, 0, 8, height, {90, 92, 98, 255});
    DrawSide(sheet, kSideWidth + 8 + kMargin, stock);
    return sheet;
}

} // namespace korvanta::payload
