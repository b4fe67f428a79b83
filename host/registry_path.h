#pragma once
// The decisions of ReadRegistryText that need no registry: which root a code names, where
// the path splits into key and value name, and how far a stored string reaches.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvanta {

enum class RegistryRoot { ClassesRoot, CurrentConfig, CurrentUser, LocalMachine, Users };

// 1 classes root, 2 current config, 3 current user, 4 local machine, 5 users; any other
// code (0, 6, negative) the current user.
RegistryRoot RootForCode(int32_t code);

struct RegistryPath {
    std::string key;   // may be empty: the root itself
    std::string value; // may be empty: the key's unnamed value
};

// Splits at the last backslash that is a character of its own. Every byte of 0x80 or above
// starts a two-byte character whose second byte is never taken for a backslash, even when
// it is 0x5C; a first byte right before the end ends the scan. Without a backslash the key
// is empty and the whole path is the value name.
RegistryPath SplitRegistryPath(std::string_view path);

// The text a string value holds: up to its first NUL, and never past the size the registry
// reported, whether or not the data carries a terminator.
std::string_view StoredText(const char *data, size_t size);

} // namespace korvanta
