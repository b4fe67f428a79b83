#include "unzip/entry_decoder.h"

#include "unzip/zip_result.h"

namespace korvanta {

EntryDecoder::EntryDecoder(uint32_t method, uint32_t declared_size, uint32_t declared_crc)
    : method_(method), declared_size_(declared_size), declared_crc_(declared_crc),
      crc_(crc32(0L, Z_NULL, 0)) {
    if (method_ == Z_DEFLATED) {
        // Negative window bits: raw deflate data, no zlib header.
        inflating_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK;
        failed_ = !inflating_;
        out_.resize(kChunkBytes);
    } else if (method_ != 0) {
        failed_ = true;
    }
}

EntryDecoder::~EntryDecoder() {
    if (inflating_)
        inflateEnd(&stream_);
}

bool EntryDecoder::Emit(const uint8_t *data, uint32_t size, const Sink &sink) {
    if (size == 0)
        return true;
    produced_ += size;
    if (produced_ > declared_size_)
        return false;
    crc_ = crc32(crc_, data, size);
    return sink(data, size);
}

bool EntryDecoder::Feed(const uint8_t *raw, uint32_t size, const Sink &sink) {
    if (failed_)
        return false;
    consumed_ += size;
    if (method_ == 0) {
        failed_ = !Emit(raw, size, sink);
        return !failed_;
    }
    // Bytes after the end of the deflate stream yield nothing and are passed over.
    if (stream_ended_)
        return true;
    stream_.next_in = const_cast<Bytef *>(raw);
    stream_.avail_in = size;
    do {
        stream_.next_out = out_.data();
        stream_.avail_out = static_cast<uInt>(out_.size());
        int status = inflate(&stream_, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
            failed_ = true;
            return false;
        }
        uint32_t got = static_cast<uint32_t>(out_.size() - stream_.avail_out);
        if (!Emit(out_.data(), got, sink)) {
            failed_ = true;
            return false;
        }
        if (status == Z_STREAM_END) {
            stream_ended_ = true;
            return true;
        }
        // Z_BUF_ERROR: no progress possible until more input comes.
        if (status == Z_BUF_ERROR)
            break;
    } while (stream_.avail_in > 0 || stream_.avail_out == 0);
    return true;
}

bool EntryDecoder::Finish() const {
    if (failed_)
        return false;
    bool ended = method_ == 0 || stream_ended_;
    // Some writers store an empty file as a deflated entry with no data at all.
    if (!ended && consumed_ == 0 && declared_size_ == 0)
        ended = true;
    return ended && produced_ == declared_size_ && crc_ == declared_crc_;
}

} // namespace korvanta
