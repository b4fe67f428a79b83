#include "host/scratch_pool.h"

#include <cstdint>
#include <limits>

namespace korvanta {

ScratchPool::ScratchPool(Heap heap) : heap_(heap) {}

void *ScratchPool::Take(size_t size) {
    if (size == 0)
        return nullptr;
    if (size <= kSlotSize) {
        for (size_t i = 0; i < kSlotCount; ++i) {
            if (!taken_[i].exchange(true, std::memory_order_acquire))
                return slots_[i];
        }
    }
    // A size the platform reports can be near the top of the address range; the extra
    // bytes must not wrap it round into a small block.
    if (size > std::numeric_limits<size_t>::max() - kHeapExtra)
        return nullptr;
    return heap_.allocate(size + kHeapExtra);
}

void ScratchPool::Give(void *buffer) {
    if (!buffer)
        return;
    if (FromPool(buffer)) {
        auto offset = static_cast<size_t>(static_cast<unsigned char *>(buffer) - &slots_[0][0]);
        taken_[offset / sizeof(slots_[0])].store(false, std::memory_order_release);
        return;
    }
    heap_.release(buffer);
}

bool ScratchPool::FromPool(const void *buffer) const {
    auto address = reinterpret_cast<uintptr_t>(buffer);
    auto first = reinterpret_cast<uintptr_t>(&slots_[0][0]);
    return address >= first && address < first + sizeof(slots_);
}

} // namespace korvanta
