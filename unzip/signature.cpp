#include "unzip/signature.h"

namespace korvanta {
namespace {

uint32_t ReadLe32(const uint8_t *p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

} // namespace

bool PassesSignatureTest(const uint8_t *block, size_t bytes_read) {
    if (block == nullptr || bytes_read != kSignatureBlockBytes)
        return false;
    return ReadLe32(block) == 0x04034b50 && static_cast<int32_t>(ReadLe32(block + 24)) >= 1;
}

} // namespace korvanta
