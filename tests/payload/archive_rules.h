#pragma once
// The fixed facts of the two archives that the program and the game rely on, typed out
// here by hand rather than taken from the generator, so that a slip in either shows up.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace payload_test {

struct ImageRule {
    int width = 0, height = 0, bits = 0, type = 0;
    bool footer = true;
};

struct Stamp {
    int year, month, day, hour, minute, second;
    auto operator<=>(const Stamp &) const = default;
};

std::string Top(bool stock); // "class/" or "class2/"

// The image rule of a leaf; nothing for "Thumbs.db".
std::optional<ImageRule> RuleFor(bool stock, const std::string &leaf);

// The 22 names whose files are byte-identical in both sets.
bool IsShared(const std::string &leaf);

Stamp FromDos(uint16_t date, uint16_t time);

// FILETIME of a local time at UTC+8, computed with the C library's timegm.
uint64_t FileTimeAtUtcPlus8(const Stamp &s);

// Folders under the build tree for the running test.
std::string ArchiveDir(); // the archives generated once for the validator tests
std::string ScratchDir(const std::string &name); // fresh and empty, gone at exit

} // namespace payload_test
