#pragma once
// Text values: NUL-terminated UTF-8, owned by exactly one holder and released with
// FreeBlock. An absent text (null) is not the same as an empty one.

#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace korvanta {

class Text {
public:
    Text() = default;
    Text(const Text &) = delete;
    Text &operator=(const Text &) = delete;
    Text(Text &&other) noexcept : bytes_(other.bytes_) { other.bytes_ = nullptr; }
    Text &operator=(Text &&other) noexcept;
    ~Text();

    // A new text with the given bytes; an empty source gives the absent text.
    static Text Copy(std::string_view source);
    static Text Copy(const char *source) { return Copy(source ? std::string_view(source) : ""); }
    // Takes over a block from AllocBlock, which the text then releases.
    static Text Adopt(char *bytes) {
        Text t;
        t.bytes_ = bytes;
        return t;
    }

    bool absent() const { return bytes_ == nullptr; }
    // The bytes, or null for the absent text.
    const char *get() const { return bytes_; }
    // The bytes, or "" for the absent text.
    const char *c_str() const { return bytes_ ? bytes_ : ""; }
    std::string_view view() const { return bytes_ ? std::string_view(bytes_) : std::string_view(); }
    char *release() {
        char *b = bytes_;
        bytes_ = nullptr;
        return b;
    }

private:
    char *bytes_ = nullptr;
};

// Joins the pieces into a new text of the summed length plus the terminator. An absent piece
// counts as empty, and the result is always a new allocation, never absent.
Text Concat(std::initializer_list<const char *> pieces);

} // namespace korvanta
