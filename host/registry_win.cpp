#include "host/registry.h"

#include "base/double_byte.h"
#include "host/handles.h"
#include "host/registry_path.h"
#include "host/scratch_pool.h"

#include <windows.h>

#include <optional>

namespace korvanta {
namespace {

// Scratch blocks come straight from the process heap: a refusal must end in the default
// text, where the program's own allocator would end the program.
void *HeapTake(size_t size) {
    return HeapAlloc(GetProcessHeap(), 0, size);
}

void HeapGive(void *block) {
    HeapFree(GetProcessHeap(), 0, block);
}

ScratchPool &LookupScratch() {
    static ScratchPool pool({HeapTake, HeapGive});
    return pool;
}

HKEY RootKey(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case RegistryRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users:
        return HKEY_USERS;
    case RegistryRoot::CurrentUser:
        break;
    }
    return HKEY_CURRENT_USER;
}

std::optional<Text> Expand(const char *source) {
    DWORD needed = ExpandEnvironmentStringsA(source, nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    Scratch expanded(LookupScratch(), needed);
    if (!expanded)
        return std::nullopt;
    // The environment may change between the two calls; a result that no longer fits is a
    // failed expansion.
    DWORD written = ExpandEnvironmentStringsA(source, expanded.get(), needed);
    if (written == 0 || written > needed)
        return std::nullopt;
    return Text::Copy(StoredText(expanded.get(), written));
}

// The value's text, or nothing when the default applies. The key stays open only while the
// value is read, and the scratch buffers go back on every path.
std::optional<Text> Look(HKEY root, const char *path) {
    // Key and value name split at the last backslash by the fixed rule of registry paths, not
    // the code page's: a byte of 0x80 or above and the byte after it are one character, even
    // when the second is 0x5C. The key may be empty (the root itself), and so may the value
    // name (the key's unnamed value).
    const SplitText where = SplitAtLastBackslash(path ? path : "", &IsHighByte);
    RegistryKey key;
    // KEY_READ alone: no view flag, so a 32-bit program reads the 32-bit view.
    if (RegOpenKeyExA(root, where.before.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), where.after.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    Scratch data(LookupScratch(), size);
    if (!data)
        return std::nullopt;
    DWORD read = size;
    if (RegQueryValueExA(key.get(), where.after.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE *>(data.get()), &read) != ERROR_SUCCESS)
        return std::nullopt;
    key.Close();
    // Data stored without its NUL ends where the data ends; the buffer has the byte for it.
    std::string_view text = StoredText(data.get(), read);
    if (type == REG_SZ)
        return Text::Copy(text);
    data.get()[text.size()] = '\0';
    return Expand(data.get());
}

} // namespace

Text ReadRegistryText(int32_t root_code, const char *path, const char *default_text) {
    std::optional<Text> found = Look(RootKey(RootForCode(root_code)), path);
    if (found)
        return std::move(*found);
    return Text::Copy(default_text);
}

} // namespace korvanta
