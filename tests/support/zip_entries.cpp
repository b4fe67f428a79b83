#include "tests/support/zip_entries.h"

#include <unzip.h>

#include <algorithm>

#ifdef _WIN32
#include "tests/support/files.h"

#include <windows.h>

#include <cstdio>
#endif

namespace korvanta::test {
namespace {

constexpr size_t kChunk = 65536;
// A size field that lies cannot make the reading run away: minizip reads only the stored
// bytes, and the cap stops a stream that inflates without end.
constexpr size_t kMostData = 64u << 20;

void ReadData(unzFile zip, const unz_file_info &info, ZipEntry &entry, std::vector<char> &chunk) {
    if (unzOpenCurrentFile(zip) != UNZ_OK)
        return;
    entry.local_extra_size = unzGetLocalExtrafield(zip, nullptr, 0);
    int got = 0;
    while ((got = unzReadCurrentFile(zip, chunk.data(), static_cast<unsigned>(chunk.size()))) > 0 &&
           entry.data.size() < kMostData)
        entry.data.append(chunk.data(), static_cast<size_t>(got));
    // A CRC mismatch shows only here, once all the data was read.
    const bool closed = unzCloseCurrentFile(zip) == UNZ_OK;
    entry.intact =
        got == 0 && closed && entry.data.size() == info.uncompressed_size && !(info.flag & 1);
}

#ifdef _WIN32
// Paths are UTF-8, as in the program: the archive opens through the wide call.
voidpf ZCALLBACK OpenWide(voidpf, const char *filename, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    return _wfopen(Widen(filename, CP_UTF8).c_str(), L"rb");
}
#endif

unzFile OpenArchiveFile(const std::string &archive) {
    zlib_filefunc_def access;
    fill_fopen_filefunc(&access);
#ifdef _WIN32
    access.zopen_file = OpenWide;
#endif
    return unzOpen2(archive.c_str(), &access);
}

} // namespace

ZipEntries ReadZipEntries(const std::string &archive, bool with_data) {
    ZipEntries read;
    unzFile zip = OpenArchiveFile(archive);
    if (zip == nullptr)
        return read;
    read.opened = true;
    unz_global_info global = {};
    unzGetGlobalInfo(zip, &global);
    read.declared_entries = static_cast<uint32_t>(global.number_entry);
    read.comment_size = static_cast<uint32_t>(global.size_comment);
    // Names are cut at the buffer without a terminating NUL, so the recorded length counts.
    std::vector<char> name(kChunk);
    std::vector<char> chunk(kChunk);
    int status = unzGoToFirstFile(zip);
    for (uLong n = 0; status == UNZ_OK; ++n) {
        unz_file_info info = {};
        if (unzGetCurrentFileInfo(zip, &info, name.data(), static_cast<uLong>(name.size()), nullptr,
                                  0, nullptr, 0) != UNZ_OK)
            break;
        ZipEntry entry;
        entry.name.assign(name.data(), std::min<size_t>(info.size_filename, name.size()));
        entry.flags = static_cast<uint32_t>(info.flag);
        entry.dos_date_time = static_cast<uint32_t>(info.dosDate);
        entry.uncompressed_size = static_cast<uint32_t>(info.uncompressed_size);
        entry.external_attributes = static_cast<uint32_t>(info.external_fa);
        entry.central_extra_size = static_cast<uint32_t>(info.size_file_extra);
        entry.directory = (info.external_fa & 0x10) || (info.external_fa & 0x40000000);
        if (with_data)
            ReadData(zip, info, entry, chunk);
        read.entries.push_back(std::move(entry));
        if (n + 1 == global.number_entry) {
            read.complete = true;
            break;
        }
        status = unzGoToNextFile(zip);
    }
    unzClose(zip);
    return read;
}

} // namespace korvanta::test
