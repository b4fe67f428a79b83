#pragma once
// The block loop of WriteBlocks, apart from the platform: which blocks are written, in what
// order, and when the run stops.

#include "payload/byte_block.h"

#include <cstdint>
#include <initializer_list>

namespace korvanta {

class BlockSink {
public:
    virtual ~BlockSink() = default;
    // One write of count bytes (count > 0); false when the platform reports failure.
    // written receives how many bytes went out.
    virtual bool Write(const unsigned char *bytes, uint32_t count, uint32_t &written) = 0;
};

// Writes each block whose signed length is above zero, in order, with one Write of its
// whole length; blocks of zero or negative length, and absent ones, are skipped. Stops at
// the first write that fails or falls short and returns false; true when every block went
// out whole.
bool WriteBlockRun(std::initializer_list<const ByteBlock *> blocks, BlockSink &sink);

} // namespace korvanta
