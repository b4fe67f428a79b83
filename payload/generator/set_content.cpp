#include "set_content.h"

#include "emblem_art.h"
#include "rank_art.h"
#include "tga.h"
#include "thumbs_db.h"
#include "zip_writer.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

namespace korvanta::payload {

namespace {

constexpr uint8_t kCompoundSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

Image DrawEntryImage(IconSet set, const Entry &e) {
    const TgaFormat &f = *e.image;
    switch (e.family) {
    case Family::BigRank:
    case Family::Rank:
    case Family::SmallRank:
        return e.number == 0 ? DrawNoRank(f.width, f.height)
                             : DrawRankIcon(set, e.number, f.width, f.height);
    case Family::AllEffFrame:
        return DrawAllEffFrame(e.number, f.width, f.height);
    case Family::LineEffFrame:
        return DrawLineEffFrame(e.number, f.width, f.height);
    case Family::PayUserBig:
    case Family::PayUserSmall:
        return DrawPayUser(f.width, f.height);
    case Family::GreenBig:
    case Family::GreenSmall:
        return DrawGreenCommunity(f.width, f.height);
    default:
        return DrawReject(f.width, f.height);
    }
}

std::vector<uint8_t> ReadFile(const std::filesystem::path &path, bool &ok) {
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

FileMap DrawnFiles(IconSet set) {
    FileMap files;
    std::vector<Image> shared; // kept for the thumbnail cache
    std::vector<Thumbnailed> thumbs;
    const std::vector<Entry> entries = EntryList(set);
    const std::vector<Entry> foreign = EntryList(IconSet::Foreign);
    for (const Entry &e : entries) {
        if (!e.image)
            continue;
        Image img = DrawEntryImage(set, e);
        if (e.image->bits == 24)
            img = Flatten(img, kOpaqueBackground);
        files[e.leaf] = EncodeTga(img, *e.image);
        if (e.shared)
            shared.push_back(std::move(img));
    }
    // The cache holds thumbnails of the shared images with their foreign-set times, the same
    // in both sets.
    size_t i = 0;
    for (const Entry &e : entries) {
        if (!e.shared || !e.image)
            continue;
        const auto same = std::find_if(foreign.begin(), foreign.end(),
                                       [&](const Entry &f) { return f.leaf == e.leaf; });
        thumbs.push_back({e.leaf, same->time, &shared[i++]});
    }
    files["Thumbs.db"] = BuildThumbsDb(thumbs);
    return files;
}

std::string CheckEntryFile(const Entry &entry, const std::vector<uint8_t> &bytes) {
    if (entry.image)
        return CheckTga(bytes, *entry.image);
    if (bytes.size() < sizeof kCompoundSignature ||
        std::memcmp(bytes.data(), kCompoundSignature, sizeof kCompoundSignature) != 0)
        return "not a compound file (no D0 CF 11 E0 A1 B1 1A E1 signature)";
    if (bytes.size() != kThumbsSize)
        return std::to_string(bytes.size()) + " bytes, must be " + std::to_string(kThumbsSize);
    return "";
}

std::string LoadArtFolder(IconSet set, const std::filesystem::path &folder, FileMap &files) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return folder.string() + ": not a folder";
    std::set<std::string> expected;
    for (const Entry &e : EntryList(set)) {
        if (e.family == Family::Directory)
            continue;
        expected.insert(e.leaf);
        const std::filesystem::path path = folder / e.leaf;
        if (!std::filesystem::is_regular_file(path, ec))
            return path.string() + ": missing (every name of the " + std::string(SetName(set)) +
                   " entry list must be present)";
        bool ok = false;
        std::vector<uint8_t> bytes = ReadFile(path, ok);
        if (!ok)
            return path.string() + ": cannot be read";
        if (std::string rule = CheckEntryFile(e, bytes); !rule.empty())
            return path.string() + ": " + rule;
        files[e.leaf] = std::move(bytes);
    }
    // Sorted so that the first stray name reported is the same on every run.
    std::set<std::string> present;
    for (const auto &item : std::filesystem::directory_iterator(folder, ec))
        present.insert(item.path().filename().string());
    for (const std::string &name : present)
        if (!expected.contains(name))
            return (folder / name).string() + ": not a name of the " + std::string(SetName(set)) +
                   " entry list";
    return "";
}

void CopySharedFiles(IconSet from, const FileMap &source, FileMap &target) {
    for (const Entry &e : EntryList(from))
        if (e.shared)
            target[e.leaf] = source.at(e.leaf);
}

std::vector<std::string> SharedMismatches(const FileMap &foreign, const FileMap &stock) {
    std::vector<std::string> names;
    for (const Entry &e : EntryList(IconSet::Foreign))
        if (e.shared && foreign.at(e.leaf) != stock.at(e.leaf))
            names.push_back(e.leaf);
    return names;
}

std::vector<uint8_t> PackArchive(IconSet set, const FileMap &files) {
    std::vector<ZipItem> items;
    for (const Entry &e : EntryList(set))
        items.push_back(
            {e.name, e.time,
             e.family == Family::Directory ? std::vector<uint8_t>{} : files.at(e.leaf)});
    return WriteZip(items);
}

} // namespace korvanta::payload
