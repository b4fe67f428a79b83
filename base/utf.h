#pragma once
// Texts between UTF-8 and UTF-16: the one place where a text changes its encoding on its way to
// and from the platform's wide calls. Only well-formed input is converted. A byte sequence that
// UTF-8 does not allow (a stray continuation byte, a sequence cut short, an overlong form, an
// encoded surrogate, a code point past U+10FFFF) or a UTF-16 surrogate without its partner is
// refused with the place where it stands, never passed on as replacement characters or '?':
// a path turned into other characters names another file. An absent text (null) stays absent,
// since a wide call tells it from an empty one. Plain C++, tested natively.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace korvanta {

enum class UtfStatus { kConverted, kAbsent, kInvalid };

template <typename Char> struct UtfResult {
    UtfStatus status = UtfStatus::kAbsent;
    std::basic_string<Char> text; // the converted text; empty unless converted
    size_t invalid_at = 0; // kInvalid: the first code unit of the input that is not well-formed

    bool converted() const { return status == UtfStatus::kConverted; }
};

UtfResult<char16_t> Utf8ToUtf16(std::string_view utf8);
UtfResult<char16_t> Utf8ToUtf16(const char *utf8);
UtfResult<char> Utf16ToUtf8(std::u16string_view utf16);
UtfResult<char> Utf16ToUtf8(const char16_t *utf16);

// Where a conversion into fixed storage stopped.
enum class FillStop {
    kEnd,     // the whole input was converted
    kFull,    // the next character would not fit: it stands at `read`
    kInvalid, // the input at `read` is not well-formed
};

struct UtfFill {
    FillStop stop = FillStop::kEnd;
    size_t read = 0;    // code units of the input converted
    size_t written = 0; // code units written
};

// The UTF-16 form of a UTF-8 text written into `out` without allocating, for a report that
// must not need the heap. Whole characters only: one that would not fit (a surrogate pair
// needs two units) or that is not well-formed stops the conversion before it, so what was
// written is always well-formed. No terminator is written.
UtfFill FillUtf16(std::string_view utf8, std::span<char16_t> out);

// What a refusal says, for a report: "not UTF-8 at byte 4", "not UTF-16 at unit 2" (a lone
// surrogate); "absent" and "converted" for the other outcomes.
std::string Describe(const UtfResult<char16_t> &result);
std::string Describe(const UtfResult<char> &result);

} // namespace korvanta
