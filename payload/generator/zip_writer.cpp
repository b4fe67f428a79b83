#include "zip_writer.h"

#include "byte_writer.h"

#include <stdexcept>
#include <zlib.h>

namespace korvanta::payload {

namespace {

constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflate = 8;

struct Packed {
    uint16_t method = kMethodStored;
    uint32_t crc = 0;
    uint32_t uncompressed_size = 0;
    std::vector<uint8_t> data;
    uint32_t local_offset = 0;
};

bool IsDirectory(const ZipItem &item) {
    return !item.name.empty() && item.name.back() == '/';
}

// The fields the local and central headers share, from "version needed" to the extra length.
void CommonFields(ByteWriter &w, const ZipItem &item, const Packed &p, uint16_t extra_length) {
    const DosStamp stamp = ToDos(item.time);
    w.U16(kZipVersionNeeded);
    w.U16(0); // flags: no encryption, no data descriptor, no UTF-8 names
    w.U16(p.method);
    w.U16(stamp.time);
    w.U16(stamp.date);
    w.U32(p.crc);
    w.U32(static_cast<uint32_t>(p.data.size()));
    w.U32(p.uncompressed_size);
    w.U16(static_cast<uint16_t>(item.name.size()));
    w.U16(extra_length);
}

} // namespace

std::vector<uint8_t> Deflate(const std::vector<uint8_t> &data) {
    z_stream zs{};
    if (deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::vector<uint8_t> out(deflateBound(&zs, static_cast<uLong>(data.size())));
    zs.next_in = const_cast<Bytef *>(data.data());
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("deflate did not finish");
    return out;
}

std::vector<uint8_t> WriteZip(const std::vector<ZipItem> &items) {
    ByteWriter w;
    std::vector<Packed> packed(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const ZipItem &item = items[i];
        Packed &p = packed[i];
        if (!IsDirectory(item)) {
            p.method = kMethodDeflate;
            p.crc = static_cast<uint32_t>(
                crc32(0, item.data.data(), static_cast<uInt>(item.data.size())));
            p.uncompressed_size = static_cast<uint32_t>(item.data.size());
            p.data = Deflate(item.data);
        }
        p.local_offset = static_cast<uint32_t>(w.Size());
        w.U32(kLocalSignature);
        CommonFields(w, item, p, 0); // the local header carries no extra field
        w.Text(item.name);
        w.Bytes(p.data);
    }

    const uint32_t central_offset = static_cast<uint32_t>(w.Size());
    for (size_t i = 0; i < items.size(); ++i) {
        const ZipItem &item = items[i];
        const Packed &p = packed[i];
        w.U32(kCentralSignature);
        w.U16(kZipVersionMadeBy);
        CommonFields(w, item, p, kZipNtfsExtraSize);
        w.U16(0); // comment length
        w.U16(0); // disk number start
        w.U16(0); // internal attributes
        w.U32(IsDirectory(item) ? kZipAttrDirectory : kZipAttrArchive);
        w.U32(p.local_offset);
        w.Text(item.name);

        const uint64_t ft = FileTimeOfLocal(item.time, kPackingUtcOffsetHours);
        w.U16(kZipNtfsTag);
        w.U16(kZipNtfsExtraSize - 4);
        w.U32(0);      // reserved
        w.U16(0x0001); // attribute tag: the three file times
        w.U16(24);
        w.U64(ft); // modification
        w.U64(ft); // access
        w.U64(ft); // creation
    }
    const uint32_t central_size = static_cast<uint32_t>(w.Size()) - central_offset;

    w.U32(kEndSignature);
    w.U16(0); // this disk
    w.U16(0); // disk with the central directory
    w.U16(static_cast<uint16_t>(items.size()));
    w.U16(static_cast<uint16_t>(items.size()));
    w.U32(central_size);
    w.U32(central_offset);
    w.U16(0); // no comment
    return w.Take();
}

} // namespace korvanta::payload
