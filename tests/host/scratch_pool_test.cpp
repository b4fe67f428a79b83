#include "host/scratch_pool.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace korvanta {
namespace {

std::vector<size_t> heap_asks;
int heap_releases = 0;
bool heap_refuses = false;

ScratchPool::Heap RecordedHeap() {
    heap_asks.clear();
    heap_releases = 0;
    heap_refuses = false;
    return {[](size_t n) {
                heap_asks.push_back(n);
                return heap_refuses ? nullptr : std::malloc(n);
            },
            [](void *p) {
                ++heap_releases;
                std::free(p);
            }};
}

TEST(ScratchPool, SlotsServeUpTo512BytesAndHoldOneMoreForATerminator) {
    auto pool = std::make_unique<ScratchPool>(RecordedHeap());
    EXPECT_EQ(pool->Take(0), nullptr);
    std::vector<unsigned char *> slots;
    for (size_t i = 0; i < ScratchPool::kSlotCount; ++i) {
        slots.push_back(static_cast<unsigned char *>(pool->Take(i % 2 ? 512 : 1)));
        ASSERT_TRUE(pool->FromPool(slots.back()));
        std::memset(slots.back(), static_cast<int>(i), 513);
    }
    for (size_t i = 0; i < slots.size(); ++i) // no slot overlaps its neighbour
        ASSERT_EQ(slots[i][0] + slots[i][512], 2 * static_cast<int>(i)) << i;
    EXPECT_TRUE(heap_asks.empty());

    // Every slot is taken: even a small request goes to the heap, 128 bytes larger.
    void *overflow = pool->Take(10);
    EXPECT_FALSE(pool->FromPool(overflow));
    pool->Give(overflow);
    pool->Give(slots[40]);
    EXPECT_EQ(pool->Take(300), slots[40]);
    EXPECT_EQ(heap_asks, std::vector<size_t>{10 + 128});
    EXPECT_EQ(heap_releases, 1);
}

TEST(ScratchPool, LargerRequestsGoToTheHeapWhichMayRefuse) {
    auto pool = std::make_unique<ScratchPool>(RecordedHeap());
    {
        Scratch big(*pool, 513);
        ASSERT_TRUE(big);
        EXPECT_EQ(heap_asks, std::vector<size_t>{513 + 128});
    }
    EXPECT_EQ(heap_releases, 1);
    heap_refuses = true;
    EXPECT_FALSE(Scratch(*pool, 4096));
    // Sizes that would wrap round with the extra bytes never reach the heap.
    EXPECT_EQ(pool->Take(std::numeric_limits<size_t>::max() - 127), nullptr);
    EXPECT_EQ(heap_asks.size(), 2u);
}

} // namespace
} // namespace korvanta
