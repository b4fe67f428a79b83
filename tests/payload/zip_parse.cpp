#include "zip_parse.h"

#include "archive_rules.h"
#include "tests/support/files.h"
#include "tests/support/zip_layout.h"

#include <zlib.h>

namespace payload_test {

using namespace korvanta::test;

namespace {

std::string_view View(const std::vector<uint8_t> &b) {
    return {reinterpret_cast<const char *>(b.data()), b.size()};
}

} // namespace

uint16_t Le16(const std::vector<uint8_t> &b, size_t at) {
    return static_cast<uint16_t>(ReadLe(View(b), at, 2));
}
uint32_t Le32(const std::vector<uint8_t> &b, size_t at) {
    return ReadLe(View(b), at, 4);
}
uint64_t Le64(const std::vector<uint8_t> &b, size_t at) {
    return Le32(b, at) | static_cast<uint64_t>(Le32(b, at + 4)) << 32;
}

RawZip ParseZip(const std::vector<uint8_t> &zip) {
    const std::string_view bytes = View(zip);
    const size_t local_fixed = FixedSize(LocalHeaderFields());
    const size_t central_fixed = FixedSize(CentralHeaderFields());
    const size_t end_fixed = FixedSize(EndRecordFields());
    RawZip r;
    size_t at = 0;
    while (at + local_fixed <= zip.size() && ReadLe(bytes, at, 4) == kLocalSignature) {
        LocalHeader h;
        h.offset = at;
        h.fields = ReadFields(bytes, at, LocalHeaderFields());
        h.dataOffset = at + local_fixed + h["name length"] + h["extra length"];
        if (h.dataOffset + h["compressed size"] > zip.size()) {
            r.error = "local header at " + std::to_string(at) + " runs past the end";
            return r;
        }
        h.name = bytes.substr(at + local_fixed, h["name length"]);
        at = h.dataOffset + h["compressed size"];
        r.locals.push_back(h);
    }
    r.localsEnd = at;
    while (at + central_fixed <= zip.size() && ReadLe(bytes, at, 4) == kCentralSignature) {
        CentralHeader h;
        h.offset = at;
        h.fields = ReadFields(bytes, at, CentralHeaderFields());
        const size_t extra = at + central_fixed + h["name length"];
        const size_t next = extra + h["extra length"] + h["comment length"];
        if (next > zip.size()) {
            r.error = "central header at " + std::to_string(at) + " runs past the end";
            return r;
        }
        h.name = bytes.substr(at + central_fixed, h["name length"]);
        h.extra.assign(zip.begin() + extra, zip.begin() + extra + h["extra length"]);
        at = next;
        r.centrals.push_back(h);
    }
    r.centralEnd = at;
    if (zip.size() < end_fixed) {
        r.error = "shorter than an end record";
        return r;
    }
    r.end.offset = zip.size() - end_fixed;
    if (ReadLe(bytes, r.end.offset, 4) != kEndSignature) {
        r.error = "the last 22 bytes are not an end record";
        return r;
    }
    r.end.fields = ReadFields(bytes, r.end.offset, EndRecordFields());
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
    const std::string bytes = ReadAll(path);
    return {bytes.begin(), bytes.end()};
}

std::map<std::string, std::vector<uint8_t>> UnpackedSet(bool stock) {
    const std::vector<uint8_t> zip =
        ReadBytes(ArchiveDir() + (stock ? "/stock.zip" : "/foreign.zip"));
    std::map<std::string, std::vector<uint8_t>> files;
    for (const LocalHeader &h : ParseZip(zip).locals) {
        if (h["method"] != 8)
            continue;
        bool ok = false;
        files[h.name.substr(Top(stock).size())] =
            Inflate(zip, h.dataOffset, h["compressed size"], ok);
    }
    return files;
}

} // namespace payload_test
