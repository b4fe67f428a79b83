#include "program/folder_contents.h"

#include "base/byte_block.h"
#include "host/file_calls.h"
#include "host/handles.h"
#include "program/folder_judgement.h"
#include "unzip/archive_in_memory.h"

#include <windows.h>

#include <string>
#include <vector>

namespace korvanta {
namespace {

std::optional<std::vector<unsigned char>> ReadWhole(const std::string &path, uint32_t size) {
    FileHandle file(OpenFileAt(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL));
    if (!file.valid())
        return std::nullopt;
    std::vector<unsigned char> bytes(size);
    DWORD got = 0;
    if (size > 0 && (!ReadFile(file.get(), bytes.data(), size, &got, nullptr) || got != size))
        return std::nullopt;
    if (!file.Close())
        return std::nullopt;
    return bytes;
}

// One of the program's archives, embedded in it. An entry's DOS date becomes the write time the
// extractor gives its copies, by the same conversion the extractor makes.
class ArchivedSet final : public OwnSet {
public:
    explicit ArchivedSet(const ByteBlock &block)
        : archive_(block.bytes(), static_cast<uint32_t>(block.byte_count)) {}

    std::optional<SetFile> Find(std::string_view name) override {
        const ArchiveInMemory::File *file = archive_.Find(name);
        if (file == nullptr)
            return std::nullopt;
        SetFile found{file->size, std::nullopt};
        FILETIME made = {};
        if (DosDateTimeToFileTime(HIWORD(file->dos_date_time), LOWORD(file->dos_date_time), &made))
            found.made = TicksOf(made);
        return found;
    }

    bool BeginsWith(std::string_view name, const unsigned char *content, uint32_t length) override {
        const ArchiveInMemory::File *file = archive_.Find(name);
        return file != nullptr && archive_.BeginsWith(*file, content, length);
    }

private:
    ArchiveInMemory archive_;
};

} // namespace

Place PlaceAt(const char *path) {
    const DWORD attributes = AttributesAt(path);
    return PlaceFrom(attributes, attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0);
}

Holding FolderHolding(const char *path) {
    const std::string folder(path);
    // The whole listing comes first: a listing cut short by an error would hide what follows,
    // and a name that cannot be given is not one of the program's.
    std::vector<FolderEntry> entries;
    if (!ListFolder(folder, entries))
        return Holding::Unknown;
    std::vector<ListedEntry> listing;
    for (FolderEntry &entry : entries)
        listing.push_back({std::move(entry.name), entry.attributes, entry.size, entry.write_time});
    ArchivedSet foreign(ForeignSet), stock(StockSet);
    return JudgeFolder(listing, foreign, stock, [&folder](const std::string &name, uint32_t size) {
        return ReadWhole(folder + "\\" + name, size);
    });
}

} // namespace korvanta
