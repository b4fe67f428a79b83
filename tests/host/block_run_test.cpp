#include "host/block_run.h"

#include "tests/host/test_blocks.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvanta {
namespace {

using Bytes = std::vector<unsigned char>;
using testing::OwnedBlock;

// Collects what is written; write number fail_at fails, number short_at writes one byte less.
struct RecordingSink final : BlockSink {
    int fail_at = -1, short_at = -1, writes = 0;
    Bytes file;
    bool Write(const unsigned char *bytes, uint32_t count, uint32_t &written) override {
        int index = writes++;
        written = index == fail_at ? 0 : index == short_at ? count - 1 : count;
        file.insert(file.end(), bytes, bytes + written);
        return index != fail_at;
    }
};

TEST(WriteBlockRun, OneWritePerBlockOfPositiveLengthInOrder) {
    OwnedBlock first({1, 2, 3}), second({4, 5, 6, 7, 8}), empty({}, 0), negative({9, 9}, -2),
        most_negative({9}, INT32_MIN), cut({7, 7, 7, 7}, 2);
    RecordingSink sink;
    EXPECT_TRUE(WriteBlockRun({empty.get(), first.get(), negative.get(), nullptr, second.get(),
                               most_negative.get(), cut.get()},
                              sink));
    EXPECT_EQ(sink.writes, 3);
    EXPECT_EQ(sink.file, (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 7, 7}));
}

TEST(WriteBlockRun, FailedOrShortWriteStopsTheRun) {
    OwnedBlock a({1, 2}), b({3}), c({4});
    RecordingSink failing;
    failing.fail_at = 1;
    EXPECT_FALSE(WriteBlockRun({a.get(), b.get(), c.get()}, failing));
    EXPECT_EQ(failing.writes, 2);
    RecordingSink falling_short;
    falling_short.short_at = 0;
    EXPECT_FALSE(WriteBlockRun({a.get(), b.get()}, falling_short));
    EXPECT_EQ(falling_short.file, (Bytes{1}));
    EXPECT_EQ(falling_short.writes, 1);
}

} // namespace
} // namespace korvanta
