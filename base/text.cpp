#include "base/text.h"

#include "base/memory.h"

#include <cstring>

namespace korvanta {

Text &Text::operator=(Text &&other) noexcept {
    if (this != &other) {
        FreeBlock(bytes_);
        bytes_ = other.bytes_;
        other.bytes_ = nullptr;
    }
    return *this;
}

Text::~Text() {
    FreeBlock(bytes_);
}

Text Text::Copy(std::string_view source) {
    if (source.empty())
        return Text();
    auto *bytes = static_cast<char *>(AllocBlock(static_cast<int32_t>(source.size() + 1)));
    std::memcpy(bytes, source.data(), source.size());
    bytes[source.size()] = '\0';
    return Adopt(bytes);
}

Text Concat(std::initializer_list<const char *> pieces) {
    size_t total = 0;
    for (const char *piece : pieces)
        total += piece ? std::strlen(piece) : 0;
    auto *bytes = static_cast<char *>(AllocBlock(static_cast<int32_t>(total + 1)));
    char *out = bytes;
    for (const char *piece : pieces) {
        if (!piece)
            continue;
        size_t n = std::strlen(piece);
        std::memcpy(out, piece, n);
        out += n;
    }
    *out = '\0';
    return Text::Adopt(bytes);
}

} // namespace korvanta
