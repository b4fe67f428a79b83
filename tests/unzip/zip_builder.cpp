#include "tests/unzip/zip_builder.h"

#include <zlib.h>

#include <fstream>

namespace korvanta::test {
namespace {

void Put16(std::string &out, uint32_t v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>((v >> 8) & 0xff);
}

void Put32(std::string &out, uint32_t v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

} // namespace

uint32_t Crc32(std::string_view data) {
    return static_cast<uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef *>(data.data()), static_cast<uInt>(data.size())));
}

uint16_t DosDate(int year, int month, int day) {
    return static_cast<uint16_t>((year - 1980) << 9 | month << 5 | day);
}

uint16_t DosTime(int hour, int minute, int second) {
    return static_cast<uint16_t>(hour << 11 | minute << 5 | second / 2);
}

std::string UtBlock(uint8_t flags, const std::vector<uint32_t> &times,
                    std::optional<uint16_t> declared_size) {
    std::string block = "UT";
    Put16(block, declared_size.value_or(static_cast<uint16_t>(1 + 4 * times.size())));
    block += static_cast<char>(flags);
    for (uint32_t t : times)
        Put32(block, t);
    return block;
}

std::string Deflate(std::string_view data) {
    z_stream stream = {};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

ZipEntrySpec &ZipBuilder::Add(std::string name, std::string data, uint16_t method) {
    ZipEntrySpec entry;
    entry.name = std::move(name);
    entry.data = std::move(data);
    entry.method = method;
    entries_.push_back(std::move(entry));
    return entries_.back();
}

ZipEntrySpec &ZipBuilder::AddDirectory(std::string name) {
    ZipEntrySpec &entry = Add(std::move(name), {}, 0);
    entry.external_attributes = 0x10;
    return entry;
}

std::string ZipBuilder::Bytes() const {
    std::string archive;
    std::string central;
    for (const ZipEntrySpec &e : entries_) {
        const std::string payload =
            e.stored_bytes ? *e.stored_bytes : (e.method == 8 ? Deflate(e.data) : e.data);
        const uint32_t crc = e.crc.value_or(Crc32(e.data));
        const uint32_t compressed =
            e.compressed_size.value_or(static_cast<uint32_t>(payload.size()));
        const uint32_t uncompressed =
            e.uncompressed_size.value_or(static_cast<uint32_t>(e.data.size()));
        const std::string &local_name = e.local_name ? *e.local_name : e.name;
        const auto offset = static_cast<uint32_t>(archive.size());

        Put32(archive, 0x04034b50);
        Put16(archive, 20);
        Put16(archive, e.flags);
        Put16(archive, e.local_method.value_or(e.method));
        Put16(archive, e.dos_time);
        Put16(archive, e.dos_date);
        Put32(archive, e.local_crc.value_or(crc));
        Put32(archive, compressed);
        Put32(archive, uncompressed);
        Put16(archive, static_cast<uint32_t>(local_name.size()));
        Put16(archive, e.local_extra_length.value_or(static_cast<uint16_t>(e.local_extra.size())));
        archive += local_name;
        archive += e.local_extra;
        archive += payload;

        Put32(central, 0x02014b50);
        Put16(central, 0x003f);
        Put16(central, 20);
        Put16(central, e.flags);
        Put16(central, e.method);
        Put16(central, e.dos_time);
        Put16(central, e.dos_date);
        Put32(central, crc);
        Put32(central, compressed);
        Put32(central, uncompressed);
        Put16(central, static_cast<uint32_t>(e.name.size()));
        Put16(central, static_cast<uint32_t>(e.central_extra.size()));
        Put16(central, 0); // comment length
        Put16(central, 0); // disk number start
        Put16(central, 0); // internal attributes
        Put32(central, e.external_attributes);
        Put32(central, offset);
        central += e.name;
        central += e.central_extra;
    }
    const auto central_offset = static_cast<uint32_t>(archive.size());
    archive += central;
    Put32(archive, 0x06054b50);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<uint32_t>(entries_.size()));
    Put16(archive, static_cast<uint32_t>(entries_.size()));
    Put32(archive, static_cast<uint32_t>(central.size()));
    Put32(archive, central_offset);
    Put16(archive, 0);
    return archive;
}

bool ZipBuilder::WriteTo(const std::string &path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string bytes = Bytes();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace korvanta::test
