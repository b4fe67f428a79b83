#include "zip_parse.h"

#include "archive_rules.h"

#include <fstream>
#include <iterator>
#include <zlib.h>

namespace payload_test {

uint16_t Le16(const std::vector<uint8_t> &b, size_t at) {
    return static_cast<uint16_t>(b.at(at) | b.at(at + 1) << 8);
}
uint32_t Le32(const std::vector<uint8_t> &b, size_t at) {
    return Le16(b, at) | static_cast<uint32_t>(Le16(b, at + 2)) << 16;
}
uint64_t Le64(const std::vector<uint8_t> &b, size_t at) {
    return Le32(b, at) | static_cast<uint64_t>(Le32(b, at + 4)) << 32;
}

RawZip ParseZip(const std::vector<uint8_t> &zip) {
    RawZip r;
    size_t at = 0;
    while (at + 30 <= zip.size() && Le32(zip, at) == 0x04034B50) {
        LocalHeader h;
        h.offset = at;
        h.signature = Le32(zip, at);
        h.versionNeeded = Le16(zip, at + 4);
        h.flags = Le16(zip, at + 6);
        h.method = Le16(zip, at + 8);
        h.time = Le16(zip, at + 10);
        h.date = Le16(zip, at + 12);
        h.crc = Le32(zip, at + 14);
        h.compressedSize = Le32(zip, at + 18);
        h.uncompressedSize = Le32(zip, at + 22);
        const uint16_t nameLength = Le16(zip, at + 26);
        h.extraLength = Le16(zip, at + 28);
        if (at + 30 + nameLength + h.extraLength + h.compressedSize > zip.size()) {
            r.error = "local header at " + std::to_string(at) + " runs past the end";
            return r;
        }
        h.name.assign(zip.begin() + at + 30, zip.begin() + at + 30 + nameLength);
        h.dataOffset = at + 30 + nameLength + h.extraLength;
        at = h.dataOffset + h.compressedSize;
        r.locals.push_back(h);
    }
    r.localsEnd = at;
    while (at + 46 <= zip.size() && Le32(zip, at) == 0x02014B50) {
        CentralHeader h;
        h.offset = at;
        h.madeBy = Le16(zip, at + 4);
        h.versionNeeded = Le16(zip, at + 6);
        h.flags = Le16(zip, at + 8);
        h.method = Le16(zip, at + 10);
        h.time = Le16(zip, at + 12);
        h.date = Le16(zip, at + 14);
        h.crc = Le32(zip, at + 16);
        h.compressedSize = Le32(zip, at + 20);
        h.uncompressedSize = Le32(zip, at + 24);
        const uint16_t nameLength = Le16(zip, at + 28), extraLength = Le16(zip, at + 30);
        h.commentLength = Le16(zip, at + 32);
        h.diskStart = Le16(zip, at + 34);
        h.internalAttributes = Le16(zip, at + 36);
        h.externalAttributes = Le32(zip, at + 38);
        h.localOffset = Le32(zip, at + 42);
        const size_t next = at + 46 + nameLength + extraLength + h.commentLength;
        if (next > zip.size()) {
            r.error = "central header at " + std::to_string(at) + " runs past the end";
            return r;
        }
        h.name.assign(zip.begin() + at + 46, zip.begin() + at + 46 + nameLength);
        h.extra.assign(zip.begin() + at + 46 + nameLength,
                       zip.begin() + at + 46 + nameLength + extraLength);
        at = next;
        r.centrals.push_back(h);
    }
    r.centralEnd = at;
    if (zip.size() < 22) {
        r.error = "shorter than an end record";
        return r;
    }
    const size_t e = zip.size() - 22;
    r.end.offset = e;
    if (Le32(zip, e) != 0x06054B50) {
        r.error = "the last 22 bytes are not an end record";
        return r;
    }
    r.end.disk = Le16(zip, e + 4);
    r.end.centralDisk = Le16(zip, e + 6);
    r.end.entriesHere = Le16(zip, e + 8);
    r.end.entriesTotal = Le16(zip, e + 10);
    r.end.centralSize = Le32(zip, e + 12);
    r.end.centralOffset = Le32(zip, e + 16);
    r.end.commentLength = Le16(zip, e + 20);
    return r;
}

std::vector<uint8_t> Inflate(const std::vector<uint8_t> &zip, size_t at, size_t size, bool &ok) {
    z_stream zs{};
    ok = false;
    if (inflateInit2(&zs, -15) != Z_OK)
        return {};
    std::vector<uint8_t> out;
    uint8_t buffer[65536];
    zs.next_in = const_cast<Bytef *>(zip.data() + at);
    zs.avail_in = static_cast<uInt>(size);
    int rc = Z_OK;
    while (rc == Z_OK) {
        zs.next_out = buffer;
        zs.avail_out = sizeof buffer;
        rc = inflate(&zs, Z_NO_FLUSH);
        out.insert(out.end(), buffer, buffer + (sizeof buffer - zs.avail_out));
    }
    // The stream must end exactly where the compressed size says.
    ok = rc == Z_STREAM_END && zs.avail_in == 0;
    inflateEnd(&zs);
    return out;
}

std::vector<uint8_t> ReadBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::map<std::string, std::vector<uint8_t>> UnpackedSet(bool stock) {
    const std::vector<uint8_t> zip =
        ReadBytes(ArchiveDir() + (stock ? "/stock.zip" : "/foreign.zip"));
    std::map<std::string, std::vector<uint8_t>> files;
    for (const LocalHeader &h : ParseZip(zip).locals) {
        if (h.method != 8)
            continue;
        bool ok = false;
        files[h.name.substr(Top(stock).size())] = Inflate(zip, h.dataOffset, h.compressedSize, ok);
    }
    return files;
}

} // namespace payload_test
