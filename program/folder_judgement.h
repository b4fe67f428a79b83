#pragma once
// Whether a folder holds only copies of the program's own icon files (which it can always make
// again) or something it could not replace, judged from what the platform says of the folder's
// entries. No platform call is made here: the listing, the reading of a file and the two sets
// are handed in.

#include "program/action_plan.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvanta {

// One entry of a folder's listing, as the platform reports it.
struct ListedEntry {
    std::string name;
    uint32_t attributes = 0; // Win32 attribute bits
    uint64_t size = 0;
    uint64_t write_time = 0; // 100-ns intervals since 1601, as the platform keeps file times
};

// A file of one of the program's sets.
struct SetFile {
    uint32_t size = 0;
    // The write time the extractor gives every copy of it; absent when the entry's date names
    // no time.
    std::optional<uint64_t> made;
};

// One of the program's two sets, as the judgement looks into it.
class OwnSet {
public:
    // The set's file of that name, if it has one.
    virtual std::optional<SetFile> Find(std::string_view name) = 0;
    // Whether `content` is the bytes of the set's file of that name, or their beginning; asked
    // only for a file at least `length` bytes long.
    virtual bool BeginsWith(std::string_view name, const unsigned char *content,
                            uint32_t length) = 0;

protected:
    ~OwnSet() = default;
};

// The first `size` bytes of the listed file of that name; absent when it cannot be read.
using ReadListedFile = std::function<std::optional<std::vector<unsigned char>>(
    const std::string &name, uint32_t size)>;

// A file counts as the program's own copy when its name is one of the two sets' files and it
// holds that file's bytes, or their beginning (an unpacking cut short). A file whose size and
// write time are the set file's is taken as a copy without being read: the extractor gives
// every file its entry's time. Thumbs.db, the system's thumbnail cache, always counts.
// Anything else, a subfolder or a link included, makes the holding Other; a file that could
// be a copy but cannot be read makes it Unknown, unless something else makes it Other.
Holding JudgeFolder(const std::vector<ListedEntry> &listing, OwnSet &foreign, OwnSet &stock,
                    const ReadListedFile &read);

// What stands at a path, from the attributes the platform reports for it
// (win::kInvalidFileAttributes when it reports none) and then from its error.
Place PlaceFrom(uint32_t attributes, uint32_t error);

} // namespace korvanta
