#pragma once
// Result codes of the ZIP reader (0 is success) and the limits it shares with the extractor.
// Callers above the reader only tell zero from non-zero.

#include <cstdint>

namespace korvanta {

inline constexpr uint32_t kZipOk = 0x0;
// The archive cannot be opened for reading, or a target file cannot be created.
inline constexpr uint32_t kZipCannotOpen = 0x200;
// An entry's data cannot be read, inflated or written, or is not what its headers declare
// (CRC, size).
inline constexpr uint32_t kZipDataError = 0x400;
// An entry's local header disagrees with its central record, its method is neither stored nor
// deflated, or its central record cannot be read.
inline constexpr uint32_t kZipBadLocalHeader = 0x700;
// An entry's local extra field cannot be read.
inline constexpr uint32_t kZipBadLocalExtra = 0x800;
// An entry's extended timestamp holds a time before 1970, which has no file time.
inline constexpr uint32_t kZipBadTimestamp = 0x900;
// An entry the reader will not write: a name that could land outside the destination or
// nowhere, or encrypted data.
inline constexpr uint32_t kZipRefusedEntry = 0xA00;
// Index out of range, or no handle.
inline constexpr uint32_t kZipBadIndex = 0x10000;
// The handle is not a reader.
inline constexpr uint32_t kZipBadKind = 0x80000;

// The kind of handle OpenArchive gives out.
inline constexpr uint32_t kZipHandleReader = 1;

// MAX_PATH: an entry name as stored must fit it in bytes, a target path in UTF-16 units (the
// plain wide calls' limit), each with its terminator.
inline constexpr uint32_t kMaxPathBytes = 260;

// Data moves between archive and file in chunks of this size.
inline constexpr uint32_t kChunkBytes = 16384;

} // namespace korvanta
