#include "base/memory.h"
#include "base/byte_block.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace korvanta {
namespace {

std::string ReadFile(const char *unix_path) {
    // The generated archives live in the build tree, which Wine sees on drive Z:.
    std::string path = std::string("Z:") + unix_path;
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void ExpectBlockHolds(const ByteBlock &block, const char *archive) {
    std::string expected = ReadFile(archive);
    ASSERT_FALSE(expected.empty()) << archive;
    EXPECT_EQ(block.dimension_count, 1u);
    ASSERT_EQ(block.byte_count, static_cast<int32_t>(expected.size()));
    EXPECT_EQ(std::memcmp(block.bytes(), expected.data(), expected.size()), 0);
    // The archive begins with the directory entry's local header.
    EXPECT_EQ(std::memcmp(block.bytes(), "PK\x03\x04", 4), 0);
}

TEST(PayloadBlocks, CarryExactlyTheGeneratorsArchives) {
    ExpectBlockHolds(ForeignSet, KORVANTA_FOREIGN_ZIP);
    ExpectBlockHolds(StockSet, KORVANTA_STOCK_ZIP);
}

TEST(PayloadBlocks, LieInTheConstantDataAndFreeBlockLeavesThemAlone) {
    InitConstantRanges();
    for (const ByteBlock *block : {&ForeignSet, &StockSet}) {
        EXPECT_TRUE(InConstantRanges(block));
        EXPECT_TRUE(InConstantRanges(block->bytes() + block->byte_count - 1));
        int32_t count = block->byte_count;
        FreeBlock(block);
        FreeBlock(block->bytes());
        EXPECT_EQ(block->byte_count, count);
    }
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}

} // namespace
} // namespace korvanta
