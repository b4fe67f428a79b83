#include "host/registry_path.h"

#include <cstring>

namespace korvanta {

RegistryRoot RootForCode(int32_t code) {
    switch (code) {
    case kRootCodeClassesRoot:
        return RegistryRoot::ClassesRoot;
    case kRootCodeCurrentConfig:
        return RegistryRoot::CurrentConfig;
    case kRootCodeLocalMachine:
        return RegistryRoot::LocalMachine;
    case kRootCodeUsers:
        return RegistryRoot::Users;
    default:
        return RegistryRoot::CurrentUser;
    }
}

std::string_view StoredText(const char *data, size_t size) {
    const void *end = std::memchr(data, '\0', size);
    return {data, end ? static_cast<size_t>(static_cast<const char *>(end) - data) : size};
}

std::u16string_view StoredText(const char16_t *data, size_t size) {
    const size_t units = size / sizeof(char16_t);
    size_t length = 0;
    while (length < units && data[length] != u'\0')
        ++length;
    return {data, length};
}

} // namespace korvanta
