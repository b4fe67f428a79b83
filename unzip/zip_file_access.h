#pragma once
// minizip's file access over a file the reader has already opened with CreateFileW.

#include <windows.h>

#include "unzip.h"

#include <cstdint>

namespace korvanta {

// minizip's file access to a source that is only ever read, with the given read, tell and
// seek: "open" hands minizip the opaque object itself (a request to write finds nothing),
// writes write nothing, and "close" leaves the source to its owner.
zlib_filefunc_def ReadOnlyFileFunctions(voidpf opaque, read_file_func read, tell_file_func tell,
                                        seek_file_func seek);

// Routes minizip's reads, seeks and position queries through the open handle. minizip's
// "open" answers with the handle and its "close" leaves it alone: the reader owns it.
//
// minizip reads every header field with a read call of its own, a byte at a time, and
// reads each entry's headers again and again; under Wine every ReadFile is a system call.
// Small reads are therefore served from a window of the file read ahead. The window stays
// true for as long as the handle is open: the reader opens the file without write sharing.
class HandleFileAccess {
public:
    explicit HandleFileAccess(HANDLE file) : file_(file) {}
    HandleFileAccess(const HandleFileAccess &) = delete;
    HandleFileAccess &operator=(const HandleFileAccess &) = delete;

    // The functions minizip calls, bound to this object, which must outlive the archive.
    zlib_filefunc_def Functions();

    uLong Read(void *buffer, uLong size);
    long Tell() const;
    long Seek(uLong offset, int origin);

private:
    bool ReadAt(uint64_t at, void *buffer, DWORD size, DWORD &got);

    static constexpr DWORD kWindowBytes = 4096;

    HANDLE file_;
    uint64_t position_ = 0; // minizip's position; a fresh handle starts at 0
    uint64_t window_start_ = 0;
    DWORD window_length_ = 0;
    unsigned char window_[kWindowBytes];
};

} // namespace korvanta
