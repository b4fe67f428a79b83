#include "unzip/entry_name.h"

#include "unzip/zip_result.h"

#include <cctype>
#include <cstring>

namespace korvanta {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool IsForbiddenByte(unsigned char c) {
    return c < 0x20 || std::strchr("*?\"<>|:", c) != nullptr;
}

bool EqualsIgnoringCase(std::string_view a, const char *b) {
    if (a.size() != std::strlen(b))
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != b[i])
            return false;
    }
    return true;
}

// Device names open the device instead of a file, whatever folder or extension they carry.
bool IsReservedDeviceName(std::string_view component) {
    std::string_view base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    static const char *const kFixed[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char *device : kFixed) {
        if (EqualsIgnoringCase(base, device))
            return true;
    }
    if (base.size() == 4 && base[3] >= '1' && base[3] <= '9') {
        std::string_view stem = base.substr(0, 3);
        return EqualsIgnoringCase(stem, "COM") || EqualsIgnoringCase(stem, "LPT");
    }
    return false;
}

// Windows drops trailing dots and spaces, so such a component names another file ("a." is
// "a") or, as "." and "..", this folder or the one above.
bool IsSafeComponent(std::string_view component) {
    if (component.empty())
        return false;
    char last = component.back();
    return last != '.' && last != ' ' && !IsReservedDeviceName(component);
}

} // namespace

bool IsSafeEntryName(std::string_view name, bool is_directory, LeadBytePredicate is_lead) {
    if (name.empty() || name.size() >= kMaxPathBytes)
        return false;
    size_t component_start = 0;
    size_t at = 0;
    while (at < name.size()) {
        const auto c = static_cast<unsigned char>(name[at]);
        if (is_lead(c)) {
            // A pair whose second byte is below 0x40 is no character of any double-byte code
            // page; how the platform would split it is anyone's guess.
            if (at + 1 >= name.size() || static_cast<unsigned char>(name[at + 1]) < 0x40)
                return false;
            at += 2;
            continue;
        }
        if (IsSeparator(name[at])) {
            if (!IsSafeComponent(name.substr(component_start, at - component_start)))
                return false;
            component_start = at + 1;
        } else if (IsForbiddenByte(c)) {
            return false;
        }
        ++at;
    }
    if (component_start == name.size())
        return is_directory; // "class/": the trailing separator of a directory entry
    return IsSafeComponent(name.substr(component_start));
}

} // namespace korvanta
