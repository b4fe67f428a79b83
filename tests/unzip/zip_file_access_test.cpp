// The read-ahead under minizip, over a real file: whatever mix of small reads, large reads
// and seeks minizip makes, every read must give exactly the file's bytes at the position.

#include "unzip/zip_file_access.h"

#include "host/handles.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace korvanta::test {
namespace {

constexpr uint64_t kWindow = 4096;
// Three windows and a part of one, so that the last window read ahead comes up short.
constexpr uint64_t kFileBytes = 3 * kWindow + 123;

// Bytes that differ from their neighbours and from the same offset in the next window, so
// that a read from the wrong place never passes for a right one.
std::string Pattern(uint64_t length) {
    std::string bytes(length, '\0');
    uint32_t state = 0x9e3779b9u;
    for (auto &c : bytes) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

class ReadAhead : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteAll(path_, bytes_));
        file_ = FileHandle(CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file_.valid());
    }

    // Reads size bytes at the access's position and checks them, the count and the new
    // position against the file.
    void ExpectRead(HandleFileAccess &access, uint64_t size) {
        const uint64_t at = static_cast<uint64_t>(access.Tell());
        const uint64_t expected = at >= kFileBytes ? 0 : std::min(size, kFileBytes - at);
        SCOPED_TRACE("read of " + std::to_string(size) + " at " + std::to_string(at));
        std::string got(size, '\x5a');
        ASSERT_EQ(access.Read(got.data(), static_cast<uLong>(size)), expected);
        EXPECT_TRUE(got.compare(0, expected, bytes_, std::min(at, kFileBytes), expected) == 0)
            << "bytes differ";
        EXPECT_EQ(got.substr(expected), std::string(size - expected, '\x5a'))
            << "written past what was read";
        EXPECT_EQ(access.Tell(), static_cast<long>(at + expected));
    }

    void ExpectReadAt(HandleFileAccess &access, uint64_t at, uint64_t size) {
        ASSERT_EQ(access.Seek(static_cast<uLong>(at), ZLIB_FILEFUNC_SEEK_SET), 0);
        ExpectRead(access, size);
    }

    TestFolder scratch_;
    std::string path_ = scratch_ / "archive.bin";
    std::string bytes_ = Pattern(kFileBytes);
    FileHandle file_;
};

TEST_F(ReadAhead, SmallReadsInSequenceGiveTheWholeFile) {
    // Odd sizes, so that reads straddle every window's end at a different place.
    for (uint64_t size : {1u, 7u, 13u, 4095u}) {
        HandleFileAccess access(file_.get());
        while (static_cast<uint64_t>(access.Tell()) < kFileBytes)
            ExpectRead(access, size);
        ExpectRead(access, size);
    }
}

TEST_F(ReadAhead, ReadsThatStraddleTheWindowsEnd) {
    HandleFileAccess access(file_.get());
    ExpectReadAt(access, 0, 10); // the window now holds 0 to 4096
    ExpectReadAt(access, kWindow - 6, 20);
    ExpectReadAt(access, 2 * kWindow - 1, 2);
    // Partly from the window, the rest too large for one and read straight through.
    ExpectReadAt(access, 2 * kWindow - 100, 100 + kWindow + 1);
    ExpectReadAt(access, kWindow - 1, kWindow);
}

TEST_F(ReadAhead, ReadsThatReachOrPassTheEndOfTheFile) {
    HandleFileAccess access(file_.get());
    ExpectReadAt(access, kFileBytes - 5, 5);
    ExpectRead(access, 1);
    ExpectReadAt(access, kFileBytes - 5, 10);
    ExpectReadAt(access, kFileBytes - 100, 2 * kWindow);
    ExpectReadAt(access, kFileBytes, 1);
    ExpectReadAt(access, kFileBytes + 100, 10);
    ExpectReadAt(access, kFileBytes + 100, kWindow);
    // The short last window must not be served for positions beyond it.
    ExpectReadAt(access, kFileBytes - 10, 1);
    ExpectReadAt(access, kFileBytes + 1, 1);
    // A read of all of it at once, and more.
    ExpectReadAt(access, 0, kFileBytes + kWindow);
}

TEST_F(ReadAhead, ReadsOfAWindowAndMore) {
    for (uint64_t size : {kWindow, kWindow + 1, 2 * kWindow + 17}) {
        for (uint64_t at : {uint64_t{0}, uint64_t{100}, kWindow, kWindow + 1}) {
            // A fresh access has nothing read ahead; a primed one holds the window at 0.
            HandleFileAccess fresh(file_.get());
            ExpectReadAt(fresh, at, size);
            HandleFileAccess primed(file_.get());
            ExpectReadAt(primed, 0, 1);
            ExpectReadAt(primed, at, size);
            // What follows a large read comes from after it, not from an old window.
            ExpectRead(primed, 3);
        }
    }
}

TEST_F(ReadAhead, SeeksBackIntoAndForwardPastTheWindow) {
    HandleFileAccess access(file_.get());
    ExpectReadAt(access, 5000, 4); // the window now holds 5000 to 9096
    ExpectReadAt(access, 4999, 3); // just before it
    ExpectReadAt(access, 5000, 4);
    ExpectReadAt(access, 9095, 1); // its last byte
    ExpectReadAt(access, 9096, 1); // just after it
    ExpectReadAt(access, 6000, 50);
    ExpectReadAt(access, 12000, 8);

    ASSERT_EQ(access.Seek(6000, ZLIB_FILEFUNC_SEEK_SET), 0);
    ASSERT_EQ(access.Seek(10, ZLIB_FILEFUNC_SEEK_CUR), 0);
    EXPECT_EQ(access.Tell(), 6010);
    ExpectRead(access, 30);
    ASSERT_EQ(access.Seek(kWindow, ZLIB_FILEFUNC_SEEK_CUR), 0);
    EXPECT_EQ(access.Tell(), static_cast<long>(6040 + kWindow));
    ExpectRead(access, 30);

    ASSERT_EQ(access.Seek(0, ZLIB_FILEFUNC_SEEK_END), 0);
    EXPECT_EQ(access.Tell(), static_cast<long>(kFileBytes));
    ExpectRead(access, 1);
    EXPECT_EQ(access.Seek(0, 7), -1);
}

TEST_F(ReadAhead, MinizipGetsTheFileOnlyForReading) {
    HandleFileAccess access(file_.get());
    zlib_filefunc_def functions = access.Functions();
    EXPECT_EQ(functions.zopen_file(functions.opaque, "a.zip", ZLIB_FILEFUNC_MODE_READ),
              functions.opaque);
    EXPECT_EQ(functions.zopen_file(functions.opaque, "a.zip",
                                   ZLIB_FILEFUNC_MODE_EXISTING | ZLIB_FILEFUNC_MODE_WRITE),
              nullptr);
    // Through the functions too, a read gives the file's bytes.
    char got[3] = {};
    ASSERT_EQ(functions.zseek_file(functions.opaque, nullptr, 4094, ZLIB_FILEFUNC_SEEK_SET), 0);
    ASSERT_EQ(functions.zread_file(functions.opaque, nullptr, got, 3), 3u);
    EXPECT_EQ(std::string(got, 3), bytes_.substr(4094, 3));
    EXPECT_EQ(functions.ztell_file(functions.opaque, nullptr), 4097);
}

} // namespace
} // namespace korvanta::test
