#pragma once
// Little-endian field writer for the binary formats the generator produces.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace korvanta::payload {

class ByteWriter {
public:
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void U64(uint64_t v) {
        U32(static_cast<uint32_t>(v));
        U32(static_cast<uint32_t>(v >> 32));
    }
    void Text(std::string_view s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }
    void Bytes(const std::vector<uint8_t> &b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    void Fill(size_t n, uint8_t v) { bytes_.insert(bytes_.end(), n, v); }

    size_t Size() const { return bytes_.size(); }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

} // namespace korvanta::payload
