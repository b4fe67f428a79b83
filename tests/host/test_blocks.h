#pragma once
// Byte blocks laid out as in the program's constant data: the header, then the bytes.

#include "base/byte_block.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace korvanta::test {

class OwnedBlock {
public:
    // The stored length may differ from the bytes held (zero or negative lengths).
    OwnedBlock(const std::vector<unsigned char> &bytes, int32_t length)
        : storage_(sizeof(ByteBlock) + bytes.size() + 1) {
        ByteBlock header{1, length};
        std::memcpy(storage_.data(), &header, sizeof(header));
        if (!bytes.empty())
            std::memcpy(storage_.data() + sizeof(header), bytes.data(), bytes.size());
    }
    explicit OwnedBlock(const std::vector<unsigned char> &bytes)
        : OwnedBlock(bytes, static_cast<int32_t>(bytes.size())) {}

    const ByteBlock *get() const { return reinterpret_cast<const ByteBlock *>(storage_.data()); }

private:
    std::vector<unsigned char> storage_; // vector storage is aligned for the header
};

} // namespace korvanta::test
