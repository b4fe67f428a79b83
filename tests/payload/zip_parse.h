#pragma once
// The archive bytes walked header by header with the shared tables of the ZIP layout, apart
// from the generator, so that the tests see the headers as any extractor would.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace payload_test {

uint16_t Le16(const std::vector<uint8_t> &b, size_t at);
uint32_t Le32(const std::vector<uint8_t> &b, size_t at);
uint64_t Le64(const std::vector<uint8_t> &b, size_t at);

// One header's fixed fields by the names of the layout tables ("version needed", "crc").
struct Header {
    size_t offset = 0;
    std::map<std::string, uint32_t> fields;
    uint32_t operator[](const std::string &field) const { return fields.at(field); }
};

struct LocalHeader : Header {
    std::string name;
    size_t dataOffset = 0;
};

struct CentralHeader : Header {
    std::string name;
    std::vector<uint8_t> extra;
};

struct RawZip {
    std::vector<LocalHeader> locals;     // walked from offset 0, back to back
    std::vector<CentralHeader> centrals; // walked from where the locals end
    Header end;                          // the last 22 bytes
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
