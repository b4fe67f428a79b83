#include "host/block_run.h"

namespace korvanta {

bool WriteBlockRun(std::initializer_list<const ByteBlock *> blocks, BlockSink &sink) {
    for (const ByteBlock *block : blocks) {
        if (!block || block->byte_count <= 0)
            continue;
        auto count = static_cast<uint32_t>(block->byte_count);
        uint32_t written = 0;
        if (!sink.Write(block->bytes(), count, written) || written != count)
            return false;
    }
    return true;
}

} // namespace korvanta
