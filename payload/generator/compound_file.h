#pragma once
// A compound file (version 3, 512-byte sectors) holding streams directly under the root
// storage: what Explorer's thumbnail cache is made of.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvanta::payload {

struct CompoundStream {
    std::string name; // ASCII, at most 31 characters
    std::vector<uint8_t> data;
};

inline constexpr uint32_t kCfbSectorSize = 512;
inline constexpr uint32_t kCfbMiniSectorSize = 64;
inline constexpr uint32_t kCfbMiniCutoff = 4096;
inline constexpr uint32_t kCfbFreeSect = 0xFFFFFFFF;
inline constexpr uint32_t kCfbEndOfChain = 0xFFFFFFFE;
inline constexpr uint32_t kCfbFatSect = 0xFFFFFFFD;
inline constexpr uint32_t kCfbNoStream = 0xFFFFFFFF;

// Builds the file at exactly file_size bytes (512 + a whole number of sectors); sectors
// the content does not need are left free. Nothing if the content does not fit.
std::optional<std::vector<uint8_t>> WriteCompoundFile(const std::vector<CompoundStream> &streams,
                                                      uint32_t file_size);

// The order of sibling names in the directory tree: shorter first, then by upper case.
bool CompoundNameLess(const std::string &a, const std::string &b);

} // namespace korvanta::payload
