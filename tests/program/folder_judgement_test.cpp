#include "program/folder_judgement.h"

#include "base/platform_values.h"

#include <gtest/gtest.h>

#include <map>

namespace korvanta {
namespace {

using namespace win;

constexpr uint64_t kMade = 129730847240000000;    // the time the extractor gives every copy
constexpr uint64_t kTouched = kMade + 10'000'000; // a second later: written since

const std::string kRank0 = "FOREIGN RANK 0";
const std::string kGreen = "GREEN COMMUNITY";
// One name, other bytes in each set.
const std::string kRejectForeign = "REJECT, FOREIGN";
const std::string kRejectStock = "REJECT, THE STOCK ONE";

// A set's file: its bytes, and the time its copies get (absent: its date names none).
struct StoredFile {
    std::string bytes;
    std::optional<uint64_t> made;
};

class StoredSet final : public OwnSet {
public:
    explicit StoredSet(std::map<std::string, StoredFile, std::less<>> files)
        : files_(std::move(files)) {}

    std::optional<SetFile> Find(std::string_view name) override {
        const auto it = files_.find(name);
        if (it == files_.end())
            return std::nullopt;
        return SetFile{static_cast<uint32_t>(it->second.bytes.size()), it->second.made};
    }

    bool BeginsWith(std::string_view name, const unsigned char *content, uint32_t length) override {
        const auto it = files_.find(name);
        if (it == files_.end() || length > it->second.bytes.size()) {
            ADD_FAILURE() << "asked beyond the set's files: " << name;
            return false;
        }
        return std::string_view(it->second.bytes).substr(0, length) ==
               std::string_view(reinterpret_cast<const char *>(content), length);
    }

private:
    std::map<std::string, StoredFile, std::less<>> files_;
};

// An entry of a folder as the listing gives it, and its bytes (absent: it cannot be read).
struct OnDisk {
    ListedEntry listed;
    std::optional<std::string> bytes;
};

OnDisk File(const char *name, const std::string &bytes, uint64_t time,
            uint32_t attributes = kFileAttributeArchive) {
    return {{name, attributes, bytes.size(), time}, bytes};
}
OnDisk Unreadable(const char *name, uint64_t size, uint64_t time) {
    return {{name, kFileAttributeArchive, size, time}, std::nullopt};
}
OnDisk Folder(const char *name, uint32_t attributes = kFileAttributeDirectory) {
    return {{name, attributes, 0, kMade}, std::nullopt};
}

struct FolderCase {
    const char *what;
    std::vector<OnDisk> entries;
    Holding holding;
    std::vector<std::string> read; // the files whose bytes the judgement needs
};

TEST(FolderJudgement, WhatAFolderHolds) {
    constexpr auto Own = Holding::OwnCopies, Oth = Holding::Other, Unk = Holding::Unknown;
    const FolderCase cases[] = {
        {"an empty folder", {}, Own, {}},
        // The program's own copies, whole or cut short.
        {"the entry's size and time: a copy, unread",
         {Unreadable("class_0.tga", kRank0.size(), kMade)},
         Own,
         {}},
        {"a whole copy written later",
         {File("class_0.tga", kRank0, kTouched)},
         Own,
         {"class_0.tga"}},
        {"a copy cut short", {File("class_0.tga", "FOREIGN", kMade)}, Own, {"class_0.tga"}},
        {"cut short before its first byte",
         {File("class_0.tga", "", kTouched)},
         Own,
         {"class_0.tga"}},
        {"a whole copy of an entry whose date names no time",
         {File("GreenCommunityUserBig.tga", kGreen, 0)},
         Own,
         {"GreenCommunityUserBig.tga"}},
        {"copies of both sets, hidden and read-only ones too",
         {File("class_0.tga", kRank0, kMade),
          File("GreenCommunityUserBig.tga", kGreen, kTouched,
               kFileAttributeArchive | kFileAttributeHidden | kFileAttributeReadOnly)},
         Own,
         {"GreenCommunityUserBig.tga"}},
        // Files the program could not make again.
        {"a name no set has", {File("player.tga", "MINE", kMade)}, Oth, {}},
        {"a set's name with other bytes",
         {File("class_0.tga", "FOREIGN RANK 9", kTouched)},
         Oth,
         {"class_0.tga"}},
        {"longer than the entry", {File("class_0.tga", kRank0 + "!", kTouched)}, Oth, {}},
        {"over 4 GiB, the entry's size in its lower half",
         {Unreadable("class_0.tga", (uint64_t{1} << 32) + kRank0.size(), kMade)},
         Oth,
         {}},
        // The system's thumbnail cache.
        {"Thumbs.db", {File("Thumbs.db", "cache", kTouched)}, Own, {}},
        {"Thumbs.db in other case", {File("tHUMBS.DB", "cache", kTouched)}, Own, {}},
        {"a name that only begins like it", {File("Thumbs.db.old", "cache", kTouched)}, Oth, {}},
        // Never a file of the sets.
        {"a subfolder of a set file's name", {Folder("class_0.tga")}, Oth, {}},
        {"an empty subfolder", {Folder("new")}, Oth, {}},
        {"a link to a folder",
         {Folder("elsewhere", kFileAttributeDirectory | kFileAttributeReparsePoint)},
         Oth,
         {}},
        {"a file that is a link, with its entry's size and time",
         {File("class_0.tga", kRank0, kMade, kFileAttributeArchive | kFileAttributeReparsePoint)},
         Oth,
         {}},
        // What cannot be read leaves the holding unknown, unless something else decides it.
        {"a set's name that cannot be read",
         {Unreadable("class_0.tga", 7, kTouched)},
         Unk,
         {"class_0.tga"}},
        {"unreadable beside a copy",
         {File("class_0.tga", kRank0, kMade), Unreadable("Reject.tga", 7, kTouched)},
         Unk,
         {"Reject.tga"}},
        {"unreadable, then a subfolder",
         {Unreadable("class_0.tga", 7, kTouched), Folder("new")},
         Oth,
         {"class_0.tga"}},
        {"unreadable, then a name no set has",
         {Unreadable("class_0.tga", 7, kTouched), File("player.tga", "MINE", kMade)},
         Oth,
         {"class_0.tga"}},
        // A name both sets have, with other bytes in each: either may have made the copy.
        {"the foreign set's bytes",
         {File("Reject.tga", kRejectForeign, kTouched)},
         Own,
         {"Reject.tga"}},
        {"the stock set's bytes",
         {File("Reject.tga", kRejectStock, kTouched)},
         Own,
         {"Reject.tga"}},
        {"the stock set's cut short, longer than the foreign one",
         {File("Reject.tga", kRejectStock.substr(0, kRejectForeign.size() + 2), kTouched)},
         Own,
         {"Reject.tga"}},
        {"the stock entry's size and time, unread",
         {Unreadable("Reject.tga", kRejectStock.size(), kMade)},
         Own,
         {}},
        {"bytes of neither",
         {File("Reject.tga", "REJECT, SOMETHING", kTouched)},
         Oth,
         {"Reject.tga"}},
    };
    StoredSet foreign({{"class_0.tga", {kRank0, kMade}}, {"Reject.tga", {kRejectForeign, kMade}}});
    StoredSet stock({{"Reject.tga", {kRejectStock, kMade}},
                     {"GreenCommunityUserBig.tga", {kGreen, std::nullopt}}});
    for (const FolderCase &c : cases) {
        SCOPED_TRACE(c.what);
        // Every listing holds the folder itself and the one above it.
        std::vector<ListedEntry> listing = {Folder(".").listed, Folder("..").listed};
        std::map<std::string, const OnDisk *> by_name;
        for (const OnDisk &entry : c.entries) {
            listing.push_back(entry.listed);
            by_name[entry.listed.name] = &entry;
        }
        std::vector<std::string> read;
        const auto read_file = [&](const std::string &name, uint32_t size) {
            read.push_back(name);
            const OnDisk &entry = *by_name.at(name);
            EXPECT_EQ(size, entry.listed.size) << name;
            return entry.bytes ? std::optional(std::vector<unsigned char>(entry.bytes->begin(),
                                                                          entry.bytes->end()))
                               : std::nullopt;
        };
        EXPECT_EQ(JudgeFolder(listing, foreign, stock, read_file), c.holding);
        EXPECT_EQ(read, c.read);
    }
}

TEST(FolderJudgement, WhatStandsAtAPath) {
    constexpr uint32_t kAccessDenied = 5, kNotReady = 21;
    const struct {
        uint32_t attributes, error;
        Place place;
    } cases[] = {
        {kFileAttributeDirectory, 0, Place::Folder},
        {kFileAttributeDirectory | kFileAttributeHidden | kFileAttributeReadOnly, 0, Place::Folder},
        // A plain file where a folder is expected is never taken for one.
        {kFileAttributeArchive, 0, Place::File},
        {kFileAttributeNormal, 0, Place::File},
        {kInvalidFileAttributes, kErrorFileNotFound, Place::Nothing},
        {kInvalidFileAttributes, kErrorPathNotFound, Place::Nothing},
        // A drive that is not ready, or a folder the player may not look into, is not a
        // missing one.
        {kInvalidFileAttributes, kAccessDenied, Place::Unknown},
        {kInvalidFileAttributes, kNotReady, Place::Unknown},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PlaceFrom(c.attributes, c.error), c.place) << c.attributes << "/" << c.error;
}

} // namespace
} // namespace korvanta
