#pragma once
// Scratch buffers for short-lived reads. Small requests are served from a fixed pool of
// slots without touching the heap; larger ones, and any request made while every slot is
// taken, get a heap block a little larger than asked. A heap refusal gives no buffer, which
// the caller treats as an ordinary failure (never a fatal one).

#include <atomic>
#include <cstddef>

namespace korvanta {

class ScratchPool {
public:
    static constexpr size_t kSlotCount = 96;
    static constexpr size_t kSlotSize = 512;
    static constexpr size_t kHeapExtra = 128;

    struct Heap {
        void *(*allocate)(size_t size); // null on refusal
        void (*release)(void *block);
    };

    // Defined out of line: an inline constructor lets the compiler build a static pool as
    // initialised data, which puts its 48 KiB of slots into the executable file.
    explicit ScratchPool(Heap heap);
    ScratchPool(const ScratchPool &) = delete;
    ScratchPool &operator=(const ScratchPool &) = delete;

    // A buffer of at least size + 1 bytes, so that text read into it can always be
    // terminated; null for a size of 0 or when the heap refuses.
    void *Take(size_t size);
    // Returns a slot to the pool or a block to the heap; null is ignored.
    void Give(void *buffer);

    bool FromPool(const void *buffer) const;

private:
    Heap heap_;
    std::atomic<bool> taken_[kSlotCount] = {};
    // Past each slot's 512 bytes there is room for the terminator of a text that fills the
    // slot; the room keeps every slot 8-byte aligned, so UTF-16 text is read in place.
    alignas(8) unsigned char slots_[kSlotCount][kSlotSize + 8];
};

// One scratch buffer, given back when it goes out of scope.
class Scratch {
public:
    Scratch(ScratchPool &pool, size_t size)
        : pool_(pool), bytes_(static_cast<char *>(pool.Take(size))) {}
    Scratch(const Scratch &) = delete;
    Scratch &operator=(const Scratch &) = delete;
    ~Scratch() { pool_.Give(bytes_); }

    explicit operator bool() const { return bytes_ != nullptr; }
    char *get() const { return bytes_; }

private:
    ScratchPool &pool_;
    char *bytes_;
};

} // namespace korvanta
