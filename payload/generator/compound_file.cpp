#include "compound_file.h"

#include "byte_writer.h"

#include <algorithm>
#include <cctype>
#include <numeric>

namespace korvanta::payload {

namespace {

constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr uint32_t kEntriesPerSector = kCfbSectorSize / 128;
constexpr uint32_t kIdsPerSector = kCfbSectorSize / 4;
constexpr uint32_t kHeaderDifatSlots = 109;
constexpr uint8_t kTypeStream = 2;
constexpr uint8_t kTypeRoot = 5;
constexpr uint8_t kRed = 0;
constexpr uint8_t kBlack = 1;

uint32_t CeilDiv(size_t a, uint32_t b) {
    return static_cast<uint32_t>((a + b - 1) / b);
}

struct DirEntry {
    std::string name;
    uint8_t type = kTypeStream;
    uint8_t colour = kBlack;
    uint32_t left = kCfbNoStream, right = kCfbNoStream, child = kCfbNoStream;
    uint32_t start = kCfbEndOfChain;
    uint32_t size = 0;
};

// Links ids[lo, hi) (sorted by name) into a balanced tree and returns its root. Every level
// above the deepest is complete, so colouring the deepest level red (when it is not full)
// gives every path from the root the same number of black nodes.
uint32_t LinkTree(std::vector<DirEntry> &dir, const std::vector<uint32_t> &ids, size_t lo,
                  size_t hi, int depth, int red_depth) {
    if (lo >= hi)
        return kCfbNoStream;
    const size_t mid = lo + (hi - lo) / 2;
    DirEntry &e = dir[ids[mid]];
    e.colour = depth == red_depth ? kRed : kBlack;
    e.left = LinkTree(dir, ids, lo, mid, depth + 1, red_depth);
    e.right = LinkTree(dir, ids, mid + 1, hi, depth + 1, red_depth);
    return ids[mid];
}

void WriteChain(std::vector<uint32_t> &table, uint32_t first, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
        table[first + i] = i + 1 < count ? first + i + 1 : kCfbEndOfChain;
}

void WriteDirEntry(ByteWriter &w, const DirEntry &e) {
    for (char c : e.name)
        w.U16(static_cast<uint8_t>(c));
    w.Fill(64 - e.name.size() * 2, 0);
    w.U16(static_cast<uint16_t>(e.name.empty() ? 0 : (e.name.size() + 1) * 2));
    w.U8(e.type);
    w.U8(e.name.empty() ? 0 : e.colour);
    w.U32(e.left);
    w.U32(e.right);
    w.U32(e.child);
    w.Fill(16 + 4 + 8 + 8, 0); // CLSID, state bits, creation and modification time
    w.U32(e.name.empty() ? 0 : e.start);
    w.U64(e.size);
}

} // namespace

bool CompoundNameLess(const std::string &a, const std::string &b) {
    if (a.size() != b.size())
        return a.size() < b.size();
    for (size_t i = 0; i < a.size(); ++i) {
        const int ca = std::toupper(static_cast<unsigned char>(a[i]));
        const int cb = std::toupper(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb;
    }
    return false;
}

std::optional<std::vector<uint8_t>> WriteCompoundFile(const std::vector<CompoundStream> &streams,
                                                      uint32_t file_size) {
    if (file_size < kCfbSectorSize || file_size % kCfbSectorSize != 0)
        return std::nullopt;
    const uint32_t sector_count = file_size / kCfbSectorSize - 1;
    const uint32_t fat_sectors = CeilDiv(sector_count, kIdsPerSector);
    if (fat_sectors > kHeaderDifatSlots)
        return std::nullopt;

    // Directory: the root, then the streams in the order given.
    std::vector<DirEntry> dir(1);
    dir[0].name = "Root Entry";
    dir[0].type = kTypeRoot;
    std::vector<uint8_t> mini;               // the mini stream's contents
    std::vector<uint32_t> mini_fat;          // one id per 64-byte mini sector
    std::vector<const CompoundStream *> big; // streams kept in regular sectors
    for (const CompoundStream &s : streams) {
        DirEntry e;
        e.name = s.name;
        e.size = static_cast<uint32_t>(s.data.size());
        if (s.data.size() < kCfbMiniCutoff) {
            const uint32_t first = static_cast<uint32_t>(mini_fat.size());
            const uint32_t count = CeilDiv(s.data.size(), kCfbMiniSectorSize);
            e.start = count ? first : kCfbEndOfChain;
            mini_fat.resize(first + count);
            WriteChain(mini_fat, first, count);
            mini.insert(mini.end(), s.data.begin(), s.data.end());
            mini.resize(size_t(first + count) * kCfbMiniSectorSize, 0);
        } else {
            big.push_back(&s);
        }
        dir.push_back(std::move(e));
    }

    // Sector plan: FAT, directory, mini FAT, mini stream, large streams, free space.
    const uint32_t dir_sectors = CeilDiv(dir.size(), kEntriesPerSector);
    const uint32_t mini_fat_sectors = CeilDiv(mini_fat.size(), kIdsPerSector);
    const uint32_t mini_stream_sectors = CeilDiv(mini.size(), kCfbSectorSize);
    uint32_t next = fat_sectors;
    const uint32_t dir_start = next;
    next += dir_sectors;
    const uint32_t mini_fat_start = mini_fat_sectors ? next : kCfbEndOfChain;
    next += mini_fat_sectors;
    dir[0].start = mini_stream_sectors ? next : kCfbEndOfChain;
    dir[0].size = static_cast<uint32_t>(mini.size());
    next += mini_stream_sectors;
    std::vector<uint32_t> fat(size_t(fat_sectors) * kIdsPerSector, kCfbFreeSect);
    for (uint32_t i = 0; i < fat_sectors; ++i)
        fat[i] = kCfbFatSect;
    WriteChain(fat, dir_start, dir_sectors);
    if (mini_fat_sectors)
        WriteChain(fat, mini_fat_start, mini_fat_sectors);
    if (mini_stream_sectors)
        WriteChain(fat, dir[0].start, mini_stream_sectors);
    for (size_t i = 1; i < dir.size(); ++i) {
        if (dir[i].size < kCfbMiniCutoff)
            continue;
        const uint32_t count = CeilDiv(dir[i].size, kCfbSectorSize);
        dir[i].start = next;
        WriteChain(fat, next, count);
        next += count;
    }
    if (next > sector_count)
        return std::nullopt;

    std::vector<uint32_t> order(dir.size() - 1);
    std::iota(order.begin(), order.end(), 1u);
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return CompoundNameLess(dir[a].name, dir[b].name); });
    int height = 0;
    while ((size_t{1} << (height + 1)) - 1 < order.size())
        ++height;
    const bool deepest_full = order.size() == (size_t{1} << (height + 1)) - 1;
    dir[0].child = LinkTree(dir, order, 0, order.size(), 0, deepest_full ? -1 : height);

    ByteWriter w;
    for (uint8_t b : kSignature)
        w.U8(b);
    w.Fill(16, 0); // CLSID
    w.U16(0x003E); // minor version
    w.U16(0x0003); // major version 3: 512-byte sectors
    w.U16(0xFFFE); // little-endian byte order mark
    w.U16(9);      // sector shift
    w.U16(6);      // mini sector shift
    w.Fill(6, 0);  // reserved
    w.U32(0);      // directory sectors: always 0 in version 3
    w.U32(fat_sectors);
    w.U32(dir_start);
    w.U32(0); // transaction signature
    w.U32(kCfbMiniCutoff);
    w.U32(mini_fat_start);
    w.U32(mini_fat_sectors);
    w.U32(kCfbEndOfChain); // no DIFAT sectors: the header's 109 slots suffice
    w.U32(0);
    for (uint32_t i = 0; i < kHeaderDifatSlots; ++i)
        w.U32(i < fat_sectors ? i : kCfbFreeSect);

    for (uint32_t id : fat)
        w.U32(id);
    for (const DirEntry &e : dir)
        WriteDirEntry(w, e);
    for (size_t i = dir.size(); i < size_t(dir_sectors) * kEntriesPerSector; ++i)
        WriteDirEntry(w, DirEntry{"", 0, 0, kCfbNoStream, kCfbNoStream, kCfbNoStream, 0, 0});
    for (size_t i = 0; i < size_t(mini_fat_sectors) * kIdsPerSector; ++i)
        w.U32(i < mini_fat.size() ? mini_fat[i] : kCfbFreeSect);
    w.Bytes(mini);
    w.Fill(size_t(mini_stream_sectors) * kCfbSectorSize - mini.size(), 0);
    for (const CompoundStream *s : big) {
        w.Bytes(s->data);
        w.Fill(CeilDiv(s->data.size(), kCfbSectorSize) * kCfbSectorSize - s->data.size(), 0);
    }
    w.Fill(file_size - w.Size(), 0);
    return w.Take();
}

} // namespace korvanta::payload
