#pragma once
// Damaged copies of one well-formed archive for the random-damage run: header fields set to
// values that lie, bytes changed in headers and data, hostile names written over real ones,
// cuts and splices. A fixed seed gives the same copies on every machine, so a copy that
// breaks the extractor can be made again from its seed and serial number alone.

#include "tests/support/zip_layout.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace korvanta::test {

enum class MutationKind {
    FieldValue,  // one fixed header field set to a boundary or a random value
    HeaderBytes, // a few bytes inside headers, names or extra fields
    HostileName, // an entry's name (central and local) partly rewritten, length kept
    DataBytes,   // a few bytes of one entry's stored data
    Truncation,  // cut, often at or next to a structural boundary
    Splice,      // a run of the archive's own bytes copied over or into another place
    AnyBytes,    // a few bytes anywhere
};
inline constexpr int kMutationKinds = 7;

const char *MutationKindName(MutationKind kind);

struct Mutant {
    std::string bytes;
    MutationKind kind;
    std::string what; // where and how, for the failure message
};

class Mutator {
public:
    // The archive must be well formed (ParseLayout succeeds); otherwise valid() is false.
    Mutator(std::string_view original, uint32_t seed);

    bool valid() const { return valid_; }
    // The next copy; never equal to the original.
    Mutant Next();

private:
    uint32_t Below(uint32_t bound); // 0 <= n < bound, the same on every platform
    const Region &PickRegion(bool headers_only);
    Mutant SetField();
    Mutant ChangeHeaderBytes();
    Mutant WriteHostileName();
    Mutant ChangeDataBytes();
    Mutant Truncate();
    Mutant Splice();
    Mutant ChangeAnyBytes();

    std::string original_;
    ZipLayout layout_;
    bool valid_ = false;
    uint64_t state_; // splitmix64: fully defined, unlike the standard distributions
};

} // namespace korvanta::test
