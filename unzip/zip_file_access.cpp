#include "unzip/zip_file_access.h"

namespace korvanta {
namespace {

HANDLE AsHandle(voidpf stream) {
    return static_cast<HANDLE>(stream);
}

voidpf ZCALLBACK OpenOpenFile(voidpf opaque, const char *, int mode) {
    // The archive is only ever read; a request to write finds no file.
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    return opaque;
}

uLong ZCALLBACK ReadOpenFile(voidpf, voidpf stream, void *buffer, uLong size) {
    DWORD got = 0;
    if (!ReadFile(AsHandle(stream), buffer, size, &got, nullptr))
        return 0;
    return got;
}

uLong ZCALLBACK WriteNothing(voidpf, voidpf, const void *, uLong) {
    return 0;
}

long ZCALLBACK TellOpenFile(voidpf, voidpf stream) {
    LONG high = 0;
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(AsHandle(stream), 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        return -1;
    // minizip's 32-bit interface counts positions in a signed long.
    if (high != 0 || low > 0x7fffffffUL)
        return -1;
    return static_cast<long>(low);
}

long ZCALLBACK SeekOpenFile(voidpf, voidpf stream, uLong offset, int origin) {
    DWORD method = FILE_BEGIN;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        method = FILE_BEGIN;
        break;
    case ZLIB_FILEFUNC_SEEK_CUR:
        method = FILE_CURRENT;
        break;
    case ZLIB_FILEFUNC_SEEK_END:
        method = FILE_END;
        break;
    default:
        return -1;
    }
    // The offset is unsigned; a zero high part keeps offsets above 2 GB from turning negative.
    LONG high = 0;
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(AsHandle(stream), static_cast<LONG>(offset), &high, method);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        return -1;
    return 0;
}

int ZCALLBACK LeaveOpenFile(voidpf, voidpf) {
    return 0;
}

int ZCALLBACK NoError(voidpf, voidpf) {
    return 0;
}

} // namespace

zlib_filefunc_def HandleFileAccess(HANDLE file) {
    zlib_filefunc_def access{};
    access.zopen_file = OpenOpenFile;
    access.zread_file = ReadOpenFile;
    access.zwrite_file = WriteNothing;
    access.ztell_file = TellOpenFile;
    access.zseek_file = SeekOpenFile;
    access.zclose_file = LeaveOpenFile;
    access.zerror_file = NoError;
    access.opaque = file;
    return access;
}

} // namespace korvanta
