#include "art_folder.h"

#include "art_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace korvanta::payload {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string InFolder(const std::string &where, const std::string &name) {
    return (std::filesystem::path(where) / name).string();
}

std::string PngName(const std::string &leaf) {
    return leaf.substr(0, leaf.rfind('.')) + ".png";
}

// A folder without icons, in one line rather than one "missing" per entry.
std::string NoIcons(const std::string &where, std::vector<std::string> folders) {
    const std::string none = where + ": none of the set's icons is in this folder";
    if (folders.empty())
        return none + " (names such as BigClass_1.tga or class_0.png)";
    std::sort(folders.begin(), folders.end());
    std::string listed;
    for (const std::string &folder : folders)
        listed += (listed.empty() ? "" : ", ") + folder + "/";
    return none + ", but it holds the folder" + (folders.size() > 1 ? "s " : " ") + listed +
           ": give the folder of the icons itself" +
           (folders.size() == 1 ? ", such as " + InFolder(where, folders[0]) : "");
}

} // namespace

ArtFolder ReadArtFolder(IconSet set, const std::string &where, const FolderListing &listing,
                        const FolderReader &read) {
    ArtFolder art;
    const std::vector<Entry> entries = EntryList(set);
    // Windows keeps one spelling of a name per folder; other systems may hold two.
    std::map<std::string, const Entry *> by_lower;
    for (const Entry &e : entries) {
        if (e.family == Family::Directory)
            continue;
        by_lower[Lower(e.leaf)] = &e;
        if (e.image)
            by_lower[Lower(PngName(e.leaf))] = &e;
    }
    std::map<std::string, std::vector<std::string>> candidates; // entry name -> file names
    std::vector<std::string> files = listing.files;
    std::sort(files.begin(), files.end());
    for (const std::string &name : files) {
        const auto it = by_lower.find(Lower(name));
        if (it == by_lower.end())
            art.left_out.push_back(name);
        else
            candidates[it->second->leaf].push_back(name);
    }
    for (const std::string &folder : listing.folders)
        art.left_out.push_back(folder + "/");
    std::sort(art.left_out.begin(), art.left_out.end());
    if (std::none_of(candidates.begin(), candidates.end(),
                     [](const auto &c) { return c.first != "Thumbs.db"; })) {
        art.problems.push_back(NoIcons(where, listing.folders));
        return art;
    }

    for (const Entry &e : entries) {
        if (e.family == Family::Directory)
            continue;
        const auto found = candidates.find(e.leaf);
        if (found == candidates.end()) {
            if (e.family != Family::Thumbs) // none at all gets the drawn stand-in
                art.problems.push_back(InFolder(where, e.leaf) + ": missing (nor is there a " +
                                       PngName(e.leaf) + ")");
            continue;
        }
        const std::vector<std::string> &names = found->second;
        if (names.size() > 1) {
            std::string others;
            for (size_t i = 1; i < names.size(); ++i)
                others += (i > 1 ? ", " : "") + names[i];
            art.problems.push_back(InFolder(where, names[0]) + ": one file for " + e.leaf +
                                   ", but " + others + " is there too; keep only one");
            continue;
        }
        const std::string &name = names[0];
        const FileRead read_file = read(name, MaxArtFileSize(e));
        if (!read_file.problem.empty()) {
            art.problems.push_back(InFolder(where, name) + ": " + read_file.problem);
            continue;
        }
        ArtFile file = PrepareArtFile(e, read_file.bytes);
        if (file.outcome == ArtOutcome::Refused) {
            art.problems.push_back(InFolder(where, name) + ": " + file.note);
            continue;
        }
        if (file.outcome == ArtOutcome::Converted)
            art.conversions[e.leaf] = file.note;
        art.sources[e.leaf] = name;
        art.files[e.leaf] = std::move(file.bytes);
    }
    return art;
}

std::vector<std::string> DescribeArtFolder(IconSet set, const std::string &where,
                                           const ArtFolder &art) {
    std::vector<std::string> lines;
    lines.push_back(std::string(SetName(set)) + ": from " + where + " (" +
                    std::to_string(art.files.size()) + " files, " +
                    std::to_string(art.conversions.size()) + " converted, " +
                    std::to_string(art.left_out.size()) + " left out)");
    for (const Entry &e : EntryList(set)) {
        const auto source = art.sources.find(e.leaf);
        if (source == art.sources.end())
            continue;
        const std::string as = source->second == e.leaf ? "" : ", as " + e.leaf;
        const auto converted = art.conversions.find(e.leaf);
        if (converted != art.conversions.end())
            lines.push_back("  converted: " + source->second + " (" + converted->second +
                            ") to a " + KindName(*e.image) + as);
        else if (!as.empty())
            lines.push_back("  kept: " + source->second + as);
    }
    for (const std::string &name : art.left_out)
        lines.push_back("  left out: " + name);
    return lines;
}

} // namespace korvanta::payload
