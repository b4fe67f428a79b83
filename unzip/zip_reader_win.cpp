#include "unzip/zip_reader.h"

#include "base/double_byte.h"
#include "base/platform_values.h"
#include "base/wide_win.h"
#include "host/file_calls.h"
#include "host/handles.h"
#include "unzip/entry_decoder.h"
#include "unzip/entry_fields.h"
#include "unzip/entry_name.h"
#include "unzip/paths.h"
#include "unzip/zip_file_access.h"

#include "unzip.h"

#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace korvanta {
namespace {

constexpr uLong kEncryptedFlag = 0x0001;
constexpr uLong kUtf8NameFlag = 0x0800;
constexpr UINT kGbkCodePage = 936;

bool CloseUnzArchive(unzFile zip) {
    return unzClose(zip) == UNZ_OK;
}
using UnzArchive = UniqueHandle<unzFile, &CloseUnzArchive>;

// The data stream of minizip's current entry, in raw form (as stored, not inflated); closed
// on every way out, so no stream outlives the call that opened it.
class RawEntryStream {
public:
    explicit RawEntryStream(unzFile zip) : zip_(zip) {
        int method = 0;
        int level = 0;
        open_ = unzOpenCurrentFile2(zip_, &method, &level, 1) == UNZ_OK;
    }
    RawEntryStream(const RawEntryStream &) = delete;
    RawEntryStream &operator=(const RawEntryStream &) = delete;
    ~RawEntryStream() {
        if (open_)
            unzCloseCurrentFile(zip_);
    }
    bool is_open() const { return open_; }

private:
    unzFile zip_;
    bool open_ = false;
};

// Seconds since 1970 broken down as UTC, then as a file time. Times before 1970 have none.
bool UnixToFileTime(int32_t seconds, FILETIME &out) {
    if (seconds < 0)
        return false;
    const time_t t = seconds;
    const tm *utc = gmtime(&t);
    if (utc == nullptr)
        return false;
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(utc->tm_year + 1900);
    st.wMonth = static_cast<WORD>(utc->tm_mon + 1);
    st.wDay = static_cast<WORD>(utc->tm_mday);
    st.wHour = static_cast<WORD>(utc->tm_hour);
    st.wMinute = static_cast<WORD>(utc->tm_min);
    st.wSecond = static_cast<WORD>(utc->tm_sec);
    return SystemTimeToFileTime(&st, &out) != FALSE;
}

} // namespace

class ZipReader {
public:
    static std::unique_ptr<ZipReader> Open(const char *file_name);
    uint32_t GetEntry(int32_t index, ZipEntry &out);
    uint32_t ExtractEntry(int32_t index, const char *target);

private:
    uint32_t MoveCursor(int32_t index);
    uint32_t ReadRecord(int32_t index, ZipEntry &out);
    uint32_t ReadLocalExtraField(std::vector<uint8_t> &extra);
    bool WriteData(HANDLE file);

    // Declared before the archive so that unzClose runs while the file is still open.
    FileHandle file_;
    std::unique_ptr<HandleFileAccess> access_;
    UnzArchive zip_;
    int32_t entry_count_ = 0;
    int32_t cursor_ = 0; // minizip's current entry; -1 after a failed move
    int32_t cached_index_ = -1;
    ZipEntry cached_;
    std::string working_dir_; // with "\" appended; empty when it could not be learned
};

std::unique_ptr<ZipReader> ZipReader::Open(const char *file_name) {
    std::unique_ptr<ZipReader> reader(new ZipReader);
    // A directory that leaves no room for the "\" is not kept: parents are then created
    // relative to whatever is current when they are needed.
    std::string dir = CurrentFolder();
    const std::optional<std::wstring> wide = ToWide(dir);
    if (!dir.empty() && wide && wide->size() + 2 <= kMaxPathBytes)
        reader->working_dir_ = dir + "\\";

    reader->file_ = FileHandle(OpenFileAt(file_name, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!reader->file_.valid())
        return nullptr;
    reader->access_ = std::make_unique<HandleFileAccess>(reader->file_.get());
    zlib_filefunc_def access = reader->access_->Functions();
    reader->zip_ = UnzArchive(unzOpen2(file_name, &access));
    if (!reader->zip_.valid())
        return nullptr;
    unz_global_info global = {};
    if (unzGetGlobalInfo(reader->zip_.get(), &global) != UNZ_OK || global.number_entry > 0x7fffffff)
        return nullptr;
    reader->entry_count_ = static_cast<int32_t>(global.number_entry);
    return reader;
}

uint32_t ZipReader::MoveCursor(int32_t index) {
    unzFile zip = zip_.get();
    if (cursor_ < 0 || index < cursor_) {
        cursor_ = -1;
        if (unzGoToFirstFile(zip) != UNZ_OK)
            return kZipBadLocalHeader;
        cursor_ = 0;
    }
    while (cursor_ < index) {
        if (unzGoToNextFile(zip) != UNZ_OK) {
            cursor_ = -1;
            return kZipBadLocalHeader;
        }
        ++cursor_;
    }
    return kZipOk;
}

uint32_t ZipReader::GetEntry(int32_t index, ZipEntry &out) {
    if (index < -1 || index >= entry_count_)
        return kZipBadIndex;
    if (index != -1 && index == cached_index_) {
        out = cached_;
        return kZipOk;
    }
    if (index == -1) {
        out = ZipEntry();
        out.index = entry_count_;
        return kZipOk;
    }
    ZipEntry entry;
    const uint32_t code = ReadRecord(index, entry);
    if (code != kZipOk)
        return code;
    cached_ = entry;
    cached_index_ = index;
    out = entry;
    return kZipOk;
}

uint32_t ZipReader::ReadLocalExtraField(std::vector<uint8_t> &extra) {
    // Opening the stream makes minizip compare the local header with the central record.
    RawEntryStream stream(zip_.get());
    if (!stream.is_open())
        return kZipBadLocalHeader;
    int size = unzGetLocalExtrafield(zip_.get(), nullptr, 0);
    if (size < 0)
        return kZipBadLocalExtra;
    extra.resize(static_cast<size_t>(size));
    if (size > 0 &&
        unzGetLocalExtrafield(zip_.get(), extra.data(), static_cast<unsigned>(size)) != size)
        return kZipBadLocalExtra;
    return kZipOk;
}

// Moves minizip to the entry, then makes its record from the central record and the local
// extra field.
uint32_t ZipReader::ReadRecord(int32_t index, ZipEntry &out) {
    uint32_t code = MoveCursor(index);
    if (code != kZipOk)
        return code;
    unz_file_info info = {};
    char name[kMaxPathBytes];
    if (unzGetCurrentFileInfo(zip_.get(), &info, name, sizeof name, nullptr, 0, nullptr, 0) !=
        UNZ_OK)
        return kZipBadLocalHeader;
    const uint32_t attributes = MapExternalAttributes(info.external_fa);
    // minizip leaves a name of 260 bytes or more cut and unterminated, and a NUL byte inside
    // the stored name would cut it short unnoticed: both are refused, never shortened.
    if (info.size_filename >= kMaxPathBytes || std::strlen(name) != info.size_filename)
        return kZipRefusedEntry;
    // The name is judged as the archive's own bytes, by the rule of its encoding, then taken
    // into UTF-8; one that is not what its encoding allows is refused, never guessed at.
    const std::string_view stored(name, info.size_filename);
    const bool utf8_name = (info.flag & kUtf8NameFlag) != 0;
    if (!IsSafeEntryName(stored, (attributes & win::kFileAttributeDirectory) != 0,
                         utf8_name ? NoLeadByte : IsGbkLeadByte))
        return kZipRefusedEntry;
    std::optional<std::string> converted;
    if (utf8_name) {
        if (Utf8ToUtf16(stored).converted())
            converted = std::string(stored);
    } else {
        converted = FromCodePage(kGbkCodePage, stored);
    }
    if (!converted)
        return kZipRefusedEntry;
    // There is no password: encrypted bytes would reach the file as they are.
    if (info.flag & kEncryptedFlag)
        return kZipRefusedEntry;
    // minizip also lets bzip2 through, which this reader cannot decode.
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED)
        return kZipBadLocalHeader;
    std::vector<uint8_t> extra;
    code = ReadLocalExtraField(extra);
    if (code != kZipOk)
        return code;

    out.index = index;
    out.name = std::move(*converted);
    out.attributes = attributes;
    out.compressed_size = info.compressed_size;
    out.uncompressed_size = info.uncompressed_size;
    // The DOS time is taken as a file time as it stands, without a local-time step. A date
    // that does not convert leaves the times unknown rather than made up.
    FILETIME dos = {};
    if (!DosDateTimeToFileTime(HIWORD(info.dosDate), LOWORD(info.dosDate), &dos))
        dos = FILETIME();
    out.access_time = out.creation_time = out.write_time = dos;

    const ExtendedTimes times = ReadExtendedTimestamp(extra.data(), extra.size());
    if ((times.has_write && !UnixToFileTime(times.write, out.write_time)) ||
        (times.has_access && !UnixToFileTime(times.access, out.access_time)) ||
        (times.has_creation && !UnixToFileTime(times.creation, out.creation_time)))
        return kZipBadTimestamp;
    return kZipOk;
}

uint32_t ZipReader::ExtractEntry(int32_t index, const char *target) {
    if (index < 0 || index >= entry_count_)
        return kZipBadIndex;
    uint32_t code = MoveCursor(index);
    if (code != kZipOk)
        return code;
    // A record the reader refuses is never written, whoever asks.
    ZipEntry entry;
    code = GetEntry(index, entry);
    if (code != kZipOk)
        return code;
    if (entry.attributes & win::kFileAttributeDirectory) {
        for (const std::string &level : DirectoryLevelsUnder(working_dir_, entry.name))
            CreateFolderAt(level.c_str());
        return kZipOk;
    }
    for (const std::string &level : ParentDirectoriesOf(target, working_dir_))
        CreateFolderAt(level.c_str());

    // Created plain: the entry's attribute bits are its record's, never the file's.
    FileHandle file(
        OpenFileAt(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    if (!file.valid())
        return kZipCannotOpen;
    const bool intact = WriteData(file.get());
    // One call on the handle that wrote the file leaves it exactly plain (the platform adds
    // the archive bit when it creates a file) and, when all its data arrived, gives it the
    // entry's times. A device or pipe has neither. As the times always were, a refusal here
    // is no error of the entry: its data is whole.
    if (GetFileType(file.get()) == FILE_TYPE_DISK) {
        FILE_BASIC_INFO basic = {};
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        if (intact) {
            // A time the entry does not give is 0, which leaves the file's own alone.
            basic.CreationTime.QuadPart = static_cast<LONGLONG>(TicksOf(entry.creation_time));
            basic.LastAccessTime.QuadPart = static_cast<LONGLONG>(TicksOf(entry.access_time));
            basic.LastWriteTime.QuadPart = static_cast<LONGLONG>(TicksOf(entry.write_time));
        }
        SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic);
    }
    file.Close();
    return intact ? kZipOk : kZipDataError;
}

bool ZipReader::WriteData(HANDLE file) {
    unz_file_info info = {};
    if (unzGetCurrentFileInfo(zip_.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    RawEntryStream stream(zip_.get());
    if (!stream.is_open())
        return false;
    EntryDecoder decoder(info.compression_method, info.uncompressed_size, info.crc);
    const EntryDecoder::Sink write = [file](const uint8_t *data, uint32_t size) {
        DWORD written = 0;
        return WriteFile(file, data, size, &written, nullptr) && written == size;
    };
    std::vector<uint8_t> raw(kChunkBytes);
    for (;;) {
        int got = unzReadCurrentFile(zip_.get(), raw.data(), kChunkBytes);
        if (got < 0)
            return false;
        if (got == 0)
            return decoder.Finish();
        if (!decoder.Feed(raw.data(), static_cast<uint32_t>(got), write))
            return false;
    }
}

ZipHandle::ZipHandle() = default;
ZipHandle::~ZipHandle() = default;

namespace {

uint32_t CheckHandle(const ZipHandle *handle) {
    if (handle == nullptr)
        return kZipBadIndex;
    if (handle->kind != kZipHandleReader)
        return kZipBadKind;
    return handle->reader ? kZipOk : kZipBadIndex;
}

} // namespace

ZipHandlePtr OpenArchive(const char *file_name) {
    if (file_name == nullptr)
        return nullptr;
    std::unique_ptr<ZipReader> reader = ZipReader::Open(file_name);
    if (!reader)
        return nullptr;
    auto handle = std::make_unique<ZipHandle>();
    handle->reader = std::move(reader);
    return handle;
}

uint32_t GetEntry(ZipHandle *handle, int32_t index, ZipEntry &out) {
    uint32_t code = CheckHandle(handle);
    return code != kZipOk ? code : handle->reader->GetEntry(index, out);
}

uint32_t ExtractEntry(ZipHandle *handle, int32_t index, const char *target) {
    uint32_t code = CheckHandle(handle);
    if (code == kZipOk && target == nullptr)
        code = kZipCannotOpen;
    return code != kZipOk ? code : handle->reader->ExtractEntry(index, target);
}

uint32_t CloseArchive(ZipHandlePtr handle) {
    if (!handle)
        return kZipBadIndex;
    if (handle->kind != kZipHandleReader)
        return kZipBadKind;
    // Releasing the reader closes minizip's archive, then the file.
    handle.reset();
    return kZipOk;
}

} // namespace korvanta
