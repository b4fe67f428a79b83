#pragma once
// Truevision TGA files of the icon sets: true-colour, no colour map, no image ID, rows
// bottom-up, either uncompressed (type 2) or run-length encoded (type 10).

#include "entry_list.h"
#include "image.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvanta::payload {

inline constexpr size_t kTgaHeaderSize = 18;
inline constexpr size_t kTgaFooterSize = 26;

// The TGA 2.0 footer the icons end with: no extension area, no developer directory, the
// signature "TRUEVISION-XFILE." and a NUL.
const std::array<uint8_t, kTgaFooterSize> &TgaFooter();

// A 24-bit icon has no alpha: around the badge its square is black, which melts into the
// dark lists the icons are shown in.
inline constexpr Rgba8 kOpaqueBackground{0, 0, 0, 255};

// Encodes the image in the given format. A 24-bit format drops alpha, so the caller
// flattens first.
std::vector<uint8_t> EncodeTga(const Image &img, const TgaFormat &format);

// Run-length packets of one pixel row (bytes_per_pixel bytes each); packets never span rows.
void AppendRunLengthRow(std::vector<uint8_t> &out, std::span<const uint8_t> row,
                        int bytes_per_pixel);

// Checks a file against the rules of its entry: header fields, dimensions, depth, type,
// descriptor, exact length, and the footer rule. Returns the broken rule, or "" if none.
std::string CheckTga(std::span<const uint8_t> file, const TgaFormat &expected);

// Decodes a file that CheckTga accepts for some format (24-bit images come out opaque), or
// any other that ReadTga reads. Returns an empty image if the data is malformed.
Image DecodeTga(std::span<const uint8_t> file);

} // namespace korvanta::payload
