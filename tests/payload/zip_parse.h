#pragma once
// A raw reader of the archive bytes, written apart from the generator so that the tests see
// the headers as any extractor would.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace payload_test {

uint16_t Le16(const std::vector<uint8_t> &b, size_t at);
uint32_t Le32(const std::vector<uint8_t> &b, size_t at);
uint64_t Le64(const std::vector<uint8_t> &b, size_t at);

struct LocalHeader {
    size_t offset = 0;
    uint32_t signature = 0;
    uint16_t versionNeeded = 0, flags = 0, method = 0, time = 0, date = 0;
    uint32_t crc = 0, compressedSize = 0, uncompressedSize = 0;
    uint16_t extraLength = 0;
    std::string name;
    size_t dataOffset = 0;
};

struct CentralHeader {
    size_t offset = 0;
    uint16_t madeBy = 0, versionNeeded = 0, flags = 0, method = 0, time = 0, date = 0;
    uint32_t crc = 0, compressedSize = 0, uncompressedSize = 0;
    uint16_t commentLength = 0, diskStart = 0, internalAttributes = 0;
    uint32_t externalAttributes = 0, localOffset = 0;
    std::string name;
    std::vector<uint8_t> extra;
};

struct EndRecord {
    size_t offset = 0;
    uint16_t disk = 0, centralDisk = 0, entriesHere = 0, entriesTotal = 0, commentLength = 0;
    uint32_t centralSize = 0, centralOffset = 0;
};

struct RawZip {
    std::vector<LocalHeader> locals;     // walked from offset 0, back to back
    std::vector<CentralHeader> centrals; // walked from where the locals end
    EndRecord end;                       // the last 22 bytes
    size_t localsEnd = 0, centralEnd = 0;
    std::string error; // empty when the walk succeeded
};

RawZip ParseZip(const std::vector<uint8_t> &zip);

// Raw inflate of one entry's data; empty with ok = false on a stream error.
std::vector<uint8_t> Inflate(const std::vector<uint8_t> &zip, size_t at, size_t size, bool &ok);

std::vector<uint8_t> ReadBytes(const std::string &path);

// The files of one of the generated archives by name inside the top folder.
std::map<std::string, std::vector<uint8_t>> UnpackedSet(bool stock);

} // namespace payload_test
