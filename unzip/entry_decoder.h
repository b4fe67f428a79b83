#pragma once
// Turns an entry's raw data, as stored in the archive, into its file bytes, and checks them
// against what the headers declare.
//
// minizip decodes only up to the declared size (longer data is cut without a word), and it
// checks the CRC only when all declared bytes came: a stream that yields too few or too many
// bytes would pass. The reader therefore takes the raw bytes from minizip and decodes them
// here with zlib, where the end of the deflate stream, the byte count and the CRC are all in
// view.

#include <cstdint>
#include <functional>
#include <vector>

#include <zlib.h>

namespace korvanta {

class EntryDecoder {
public:
    // Receives each decoded chunk (at most 16384 bytes); false stops the decoding.
    using Sink = std::function<bool(const uint8_t *data, uint32_t size)>;

    // method: 0 (stored) or 8 (deflated).
    EntryDecoder(uint32_t method, uint32_t declared_size, uint32_t declared_crc);
    EntryDecoder(const EntryDecoder &) = delete;
    EntryDecoder &operator=(const EntryDecoder &) = delete;
    ~EntryDecoder();

    // Decodes the next raw bytes. False on corrupt data, more bytes than declared, or a sink
    // that refused; the decoder is then spent.
    bool Feed(const uint8_t *raw, uint32_t size, const Sink &sink);

    // After the last raw bytes: true when the data ended properly, gave exactly the declared
    // size and matches the declared CRC.
    bool Finish() const;

private:
    bool Emit(const uint8_t *data, uint32_t size, const Sink &sink);

    uint32_t method_;
    uint32_t declared_size_;
    uint32_t declared_crc_;
    uint64_t produced_ = 0;
    uint64_t consumed_ = 0;
    uLong crc_;
    bool failed_ = false;
    bool stream_ended_ = false;
    bool inflating_ = false;
    z_stream stream_{};
    std::vector<uint8_t> out_;
};

} // namespace korvanta
