#include "archive_reader.h"

#include <unzip.h>

namespace korvanta::payload {

std::string ReadArchive(const std::filesystem::path &zip, FileMap &files) {
    unzFile uf = unzOpen(zip.string().c_str());
    if (!uf)
        return zip.string() + ": not a readable archive";
    std::string error;
    for (int rc = unzGoToFirstFile(uf); rc == UNZ_OK && error.empty(); rc = unzGoToNextFile(uf)) {
        unz_file_info info;
        char name[256];
        if (unzGetCurrentFileInfo(uf, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) {
            error = zip.string() + ": unreadable entry header";
            break;
        }
        std::string leaf(name);
        leaf = leaf.substr(leaf.find('/') + 1);
        if (leaf.empty())
            continue; // the directory entry
        std::vector<uint8_t> data(info.uncompressed_size);
        if (unzOpenCurrentFile(uf) != UNZ_OK ||
            unzReadCurrentFile(uf, data.data(), static_cast<unsigned>(data.size())) !=
                static_cast<int>(data.size()) ||
            unzCloseCurrentFile(uf) != UNZ_OK)
            error = zip.string() + ": " + name + ": cannot be extracted";
        files[leaf] = std::move(data);
    }
    unzClose(uf);
    return error;
}

} // namespace korvanta::payload
