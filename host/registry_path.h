#pragma once
// The decisions of ReadRegistryText that need no registry: which root a code names and how
// far a stored string reaches.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace korvanta {

enum class RegistryRoot { ClassesRoot, CurrentConfig, CurrentUser, LocalMachine, Users };

// The codes callers name a root by; any other code (0, 6, negative) is the current user.
inline constexpr int32_t kRootCodeClassesRoot = 1;
inline constexpr int32_t kRootCodeCurrentConfig = 2;
inline constexpr int32_t kRootCodeCurrentUser = 3;
inline constexpr int32_t kRootCodeLocalMachine = 4;
inline constexpr int32_t kRootCodeUsers = 5;

RegistryRoot RootForCode(int32_t code);

// The text a string value holds: up to its first NUL, and never past the size the registry
// reported, whether or not the data carries a terminator.
std::string_view StoredText(const char *data, size_t size);
// The same for a string the registry stores in UTF-16: size counts bytes, and an odd last byte
// is no unit.
std::u16string_view StoredText(const char16_t *data, size_t size);

} // namespace korvanta
