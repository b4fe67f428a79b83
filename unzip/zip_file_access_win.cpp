#include "unzip/zip_file_access.h"

#include <algorithm>
#include <cstring>

namespace korvanta {
namespace {

HandleFileAccess &Access(voidpf opaque) {
    return *static_cast<HandleFileAccess *>(opaque);
}

voidpf ZCALLBACK OpenOpenFile(voidpf opaque, const char *, int mode) {
    // The source is only ever read; a request to write finds no file.
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    return opaque;
}

uLong ZCALLBACK ReadOpenFile(voidpf opaque, voidpf, void *buffer, uLong size) {
    return Access(opaque).Read(buffer, size);
}

uLong ZCALLBACK WriteNothing(voidpf, voidpf, const void *, uLong) {
    return 0;
}

long ZCALLBACK TellOpenFile(voidpf opaque, voidpf) {
    return Access(opaque).Tell();
}

long ZCALLBACK SeekOpenFile(voidpf opaque, voidpf, uLong offset, int origin) {
    return Access(opaque).Seek(offset, origin);
}

int ZCALLBACK LeaveOpenFile(voidpf, voidpf) {
    return 0;
}

int ZCALLBACK NoError(voidpf, voidpf) {
    return 0;
}

} // namespace

zlib_filefunc_def ReadOnlyFileFunctions(voidpf opaque, read_file_func read, tell_file_func tell,
                                        seek_file_func seek) {
    zlib_filefunc_def access{};
    access.zopen_file = OpenOpenFile;
    access.zread_file = read;
    access.zwrite_file = WriteNothing;
    access.ztell_file = tell;
    access.zseek_file = seek;
    access.zclose_file = LeaveOpenFile;
    access.zerror_file = NoError;
    access.opaque = opaque;
    return access;
}

zlib_filefunc_def HandleFileAccess::Functions() {
    return ReadOnlyFileFunctions(this, ReadOpenFile, TellOpenFile, SeekOpenFile);
}

bool HandleFileAccess::ReadAt(uint64_t at, void *buffer, DWORD size, DWORD &got) {
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(at);
    got = 0;
    return SetFilePointerEx(file_, distance, nullptr, FILE_BEGIN) &&
           ReadFile(file_, buffer, size, &got, nullptr);
}

// A failed read reads nothing, as a single ReadFile would.
uLong HandleFileAccess::Read(void *buffer, uLong size) {
    auto *out = static_cast<unsigned char *>(buffer);
    uLong done = 0;
    while (done < size) {
        if (position_ >= window_start_ && position_ < window_start_ + window_length_) {
            const DWORD at = static_cast<DWORD>(position_ - window_start_);
            const uLong n = std::min<uLong>(size - done, window_length_ - at);
            std::memcpy(out + done, window_ + at, n);
            position_ += n;
            done += n;
            continue;
        }
        DWORD got = 0;
        // Entry data comes in large reads, which go straight to minizip's buffer.
        if (size - done >= kWindowBytes) {
            if (!ReadAt(position_, out + done, size - done, got))
                return 0;
            position_ += got;
            return done + got;
        }
        if (!ReadAt(position_, window_, kWindowBytes, got))
            return 0;
        window_start_ = position_;
        window_length_ = got;
        if (got == 0)
            break; // end of file
    }
    return done;
}

long HandleFileAccess::Tell() const {
    // minizip's 32-bit interface counts positions in a signed long.
    return position_ > 0x7fffffffULL ? -1 : static_cast<long>(position_);
}

long HandleFileAccess::Seek(uLong offset, int origin) {
    // The offset is unsigned, so that offsets above 2 GB do not turn negative.
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        position_ = offset;
        return 0;
    case ZLIB_FILEFUNC_SEEK_CUR:
        position_ += offset;
        return 0;
    case ZLIB_FILEFUNC_SEEK_END: {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file_, &size))
            return -1;
        position_ = static_cast<uint64_t>(size.QuadPart) + offset;
        return 0;
    }
    default:
        return -1;
    }
}

} // namespace korvanta
