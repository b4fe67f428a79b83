#include "host/registry.h"

#include "base/double_byte.h"
#include "base/wide_win.h"
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

// The program's UTF-8 form of a text the registry gave; nothing for one that has none.
std::optional<Text> Narrow(std::u16string_view text) {
    std::optional<std::string> narrow =
        FromWide(std::wstring_view(reinterpret_cast<const wchar_t *>(text.data()), text.size()));
    if (!narrow)
        return std::nullopt;
    return Text::Copy(*narrow);
}

std::optional<Text> Expand(const wchar_t *source) {
    DWORD needed = ExpandEnvironmentStringsW(source, nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    Scratch expanded(LookupScratch(), needed * sizeof(wchar_t));
    if (!expanded)
        return std::nullopt;
    auto *wide = reinterpret_cast<wchar_t *>(expanded.get());
    // The environment may change between the two calls; a result that no longer fits is a
    // failed expansion.
    DWORD written = ExpandEnvironmentStringsW(source, wide, needed);
    if (written == 0 || written > needed)
        return std::nullopt;
    return Narrow(StoredText(reinterpret_cast<const char16_t *>(wide), written * sizeof(wchar_t)));
}

// The value's text, or nothing when the default applies. The key stays open only while the
// value is read, and the scratch buffers go back on every path. The registry keeps its
// strings in UTF-16, and they are read so: no code page stands between the stored path and the
// program.
std::optional<Text> Look(HKEY root, const char *path) {
    // Key and value name split at the last backslash. The path is UTF-8, where no byte of a
    // longer character is a backslash, so the split needs no character walk.
    const SplitText where = SplitAtLastBackslash(path ? path : "", &NoLeadByte);
    const std::optional<std::wstring> key_name = ToWide(where.before);
    const std::optional<std::wstring> value_name = ToWide(where.after);
    if (!key_name || !value_name)
        return std::nullopt;
    RegistryKey key;
    // KEY_READ alone: no view flag, so a 32-bit program reads the 32-bit view.
    if (RegOpenKeyExW(root, key_name->c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), value_name->c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    // A value without any data is taken as missing, unlike one that holds the empty string.
    if (size == 0)
        return std::nullopt;
    // One unit more than the data, for the terminator of data stored without one.
    Scratch data(LookupScratch(), size + sizeof(wchar_t));
    if (!data)
        return std::nullopt;
    DWORD read = size;
    if (RegQueryValueExW(key.get(), value_name->c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE *>(data.get()), &read) != ERROR_SUCCESS)
        return std::nullopt;
    key.Close();
    // Data stored without its NUL ends where the data ends.
    auto *units = reinterpret_cast<char16_t *>(data.get());
    const std::u16string_view text = StoredText(units, read);
    if (type == REG_SZ)
        return Narrow(text);
    units[text.size()] = u'\0';
    return Expand(reinterpret_cast<const wchar_t *>(units));
}

} // namespace

Text ReadRegistryText(int32_t root_code, const char *path, const char *default_text) {
    std::optional<Text> found = Look(RootKey(RootForCode(root_code)), path);
    if (found)
        return std::move(*found);
    return Text::Copy(default_text);
}

} // namespace korvanta
