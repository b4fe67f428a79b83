// The art folder as it lies on disk: its listing and its files, for ReadArtFolder to judge.

#include "art_folder.h"

#include <fstream>
#include <iterator>

namespace korvanta::payload {

ArtFolder LoadArtFolder(IconSet set, const std::filesystem::path &folder) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        ArtFolder art;
        art.problems.push_back(folder.string() + ": not a folder");
        return art;
    }
    FolderListing listing;
    for (const auto &item : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = item.path().filename().string();
        (item.is_directory(ec) ? listing.folders : listing.files).push_back(name);
    }
    if (ec) {
        ArtFolder art;
        art.problems.push_back(folder.string() + ": cannot be listed (" + ec.message() + ")");
        return art;
    }
    return ReadArtFolder(set, folder.string(), listing,
                         [&](const std::string &name) -> std::optional<std::vector<uint8_t>> {
                             std::ifstream in(folder / name, std::ios::binary);
                             std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                                        std::istreambuf_iterator<char>()};
                             if (!in && !in.eof())
                                 return std::nullopt;
                             return bytes;
                         });
}

} // namespace korvanta::payload
