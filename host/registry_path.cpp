#include "host/registry_path.h"

#include <cstring>

namespace korvanta {

RegistryRoot RootForCode(int32_t code) {
    switch (code) {
    case 1:
        return RegistryRoot::ClassesRoot;
    case 2:
        return RegistryRoot::CurrentConfig;
    case 4:
        return RegistryRoot::LocalMachine;
    case 5:
        return RegistryRoot::Users;
    default:
        return RegistryRoot::CurrentUser;
    }
}

RegistryPath SplitRegistryPath(std::string_view path) {
    size_t split = std::string_view::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        auto byte = static_cast<unsigned char>(path[i]);
        if (byte >= 0x80) {
            if (i + 1 >= path.size())
                break;
            ++i; // the second byte of the character, whatever its value
        } else if (byte == '\\') {
            split = i;
        }
    }
    if (split == std::string_view::npos)
        return {std::string(), std::string(path)};
    return {std::string(path.substr(0, split)), std::string(path.substr(split + 1))};
}

std::string_view StoredText(const char *data, size_t size) {
    const void *end = std::memchr(data, '\0', size);
    return {data, end ? static_cast<size_t>(static_cast<const char *>(end) - data) : size};
}

} // namespace korvanta
