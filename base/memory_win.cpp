#include "base/memory.h"

#include "base/fatal.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace korvanta {
namespace {

struct AddressRange {
    const unsigned char *start;
    const unsigned char *end;
};

std::vector<AddressRange> &ConstantRanges() {
    static std::vector<AddressRange> ranges;
    return ranges;
}

HANDLE block_heap = nullptr;

HANDLE BlockHeap() {
    return block_heap ? block_heap : GetProcessHeap();
}

} // namespace

void UseBlockHeap(void *heap) {
    block_heap = heap;
}

void *AllocBlock(int32_t n) {
    // A negative count asks for more than the heap can give; HeapAlloc refuses it.
    void *p = HeapAlloc(BlockHeap(), 0, static_cast<SIZE_T>(static_cast<uint32_t>(n)));
    if (!p) {
        char message[64];
        wsprintfA(message, "分配 %d 字节内存失败!", n);
        FatalError(message, 0);
    }
    return p;
}

void FreeBlock(const void *p) {
    if (!p || InConstantRanges(p))
        return;
    HeapFree(BlockHeap(), 0, const_cast<void *>(p));
}

void InitConstantRanges() {
    // The constant data is the image's read-only data section: the compiler puts literal
    // texts there and the embedded archives are assembled into it.
    auto *base = reinterpret_cast<const unsigned char *>(GetModuleHandleW(nullptr));
    auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER *section = IMAGE_FIRST_SECTION(nt);
    auto &ranges = ConstantRanges();
    ranges.clear();
    for (unsigned i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (std::memcmp(section->Name, ".rdata", 7) == 0) {
            const unsigned char *start = base + section->VirtualAddress;
            ranges.push_back({start, start + section->Misc.VirtualSize});
        }
    }
}

bool InConstantRanges(const void *p) {
    auto *q = static_cast<const unsigned char *>(p);
    for (const AddressRange &r : ConstantRanges()) {
        if (r.start <= q && q < r.end)
            return true;
    }
    return false;
}

} // namespace korvanta
