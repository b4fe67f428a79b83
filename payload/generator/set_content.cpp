#include "set_content.h"

#include "emblem_art.h"
#include "rank_art.h"
#include "tga.h"
#include "thumbs_db.h"
#include "zip_writer.h"

namespace korvanta::payload {

namespace {

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

} // namespace

FileMap DrawnFiles(IconSet set) {
    FileMap files;
    for (const Entry &e : EntryList(set)) {
        if (!e.image)
            continue;
        Image img = DrawEntryImage(set, e);
        if (e.image->bits == 24)
            img = Flatten(img, kOpaqueBackground);
        files[e.leaf] = EncodeTga(img, *e.image);
    }
    files["Thumbs.db"] = DrawnThumbsDb();
    return files;
}

std::vector<uint8_t> DrawnThumbsDb() {
    // Thumbnails of the shared images (all 32-bit) with their foreign-set times: the same
    // cache in both sets.
    std::vector<const Entry *> shared;
    const std::vector<Entry> foreign = EntryList(IconSet::Foreign);
    for (const Entry &e : foreign)
        if (e.shared && e.image)
            shared.push_back(&e);
    std::vector<Image> images;
    for (const Entry *e : shared)
        images.push_back(DrawEntryImage(IconSet::Foreign, *e));
    std::vector<Thumbnailed> thumbs;
    for (size_t i = 0; i < shared.size(); ++i)
        thumbs.push_back({shared[i]->leaf, shared[i]->time, &images[i]});
    return BuildThumbsDb(thumbs);
}

std::vector<std::string> JoinSharedFiles(SetSource &foreign, SetSource &stock,
                                         const std::vector<uint8_t> &stand_in_thumbs) {
    std::vector<std::string> problems;
    if (foreign.folder.empty() && stock.folder.empty())
        return problems;
    // A folder without a Thumbs.db takes the other folder's, or the drawn stand-in.
    for (auto [self, other] : {std::pair{&foreign, &stock}, std::pair{&stock, &foreign}}) {
        if (self->folder.empty() || self->files.contains("Thumbs.db"))
            continue;
        const bool borrow = !other->folder.empty() && other->files.contains("Thumbs.db");
        self->files["Thumbs.db"] = borrow ? other->files.at("Thumbs.db") : stand_in_thumbs;
        self->thumbs_note = std::string("none in the folder, so ") +
                            (borrow ? "the one of the other folder" : "the drawn stand-in");
    }
    const bool both = !foreign.folder.empty() && !stock.folder.empty();
    // Explorer writes each folder's cache on its own, so two real folders never agree on it;
    // it is a cache the system rebuilds, not an icon. Both sets carry the stock folder's: a
    // restore then puts the game's own cache back.
    if (both && foreign.files.at("Thumbs.db") != stock.files.at("Thumbs.db")) {
        foreign.files["Thumbs.db"] = stock.files.at("Thumbs.db");
        foreign.thumbs_note = "the stock folder's, the same in both sets";
    }
    for (const Entry &e : EntryList(IconSet::Foreign)) {
        if (!e.shared)
            continue;
        const auto f = foreign.files.find(e.leaf), s = stock.files.find(e.leaf);
        if (f == foreign.files.end() || s == stock.files.end())
            continue; // missing from a folder: refused already
        if (!both) {
            // The shared files are one set of files: the one folder supplies both sets.
            (foreign.folder.empty() ? foreign : stock).files[e.leaf] =
                (foreign.folder.empty() ? s : f)->second;
            continue;
        }
        if (f->second != s->second)
            problems.push_back(
                (std::filesystem::path(stock.folder) / stock.SourceName(e.leaf)).string() +
                ": differs from " +
                (std::filesystem::path(foreign.folder) / foreign.SourceName(e.leaf)).string() +
                "; the 22 shared files must be the same in both folders");
    }
    return problems;
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
