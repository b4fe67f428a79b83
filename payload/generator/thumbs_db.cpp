#include "thumbs_db.h"

#include "byte_writer.h"
#include "compound_file.h"
#include "entry_list.h"

#include <algorithm>
#include <stdexcept>

namespace korvanta::payload {

namespace {

// A box-filtered copy of the image, fitted into the square and centred on black, as a
// 24-bit bottom-up device-independent bitmap behind a BITMAPINFOHEADER.
std::vector<uint8_t> ThumbnailBitmap(const Image &src) {
    const int n = kThumbnailSize;
    const double scale = std::max(src.width, src.height) / double(n);
    const double off_x = (n - src.width / scale) / 2, off_y = (n - src.height / scale) / 2;
    ByteWriter w;
    w.U32(40);
    w.U32(n);
    w.U32(n);
    w.U16(1);  // planes
    w.U16(24); // bits
    w.U32(0);  // BI_RGB
    w.U32(n * n * 3);
    w.Fill(16, 0); // resolution and palette counts
    for (int y = n - 1; y >= 0; --y) {
        for (int x = 0; x < n; ++x) {
            double acc[3] = {0, 0, 0}, weight = 0;
            const int x0 = int((x - off_x) * scale), x1 = int((x + 1 - off_x) * scale);
            const int y0 = int((y - off_y) * scale), y1 = int((y + 1 - off_y) * scale);
            for (int sy = std::max(y0, 0); sy < std::min(y1, src.height); ++sy)
                for (int sx = std::max(x0, 0); sx < std::min(x1, src.width); ++sx) {
                    const Rgba8 p = src.At(sx, sy);
                    acc[0] += p.b * p.a / 255.0;
                    acc[1] += p.g * p.a / 255.0;
                    acc[2] += p.r * p.a / 255.0;
                    weight += 1;
                }
            for (double c : acc)
                w.U8(static_cast<uint8_t>(weight > 0 ? c / weight + 0.5 : 0));
        }
    }
    return w.Take();
}

std::string ReversedIndex(size_t index) {
    std::string s = std::to_string(index);
    std::reverse(s.begin(), s.end());
    return s;
}

} // namespace

std::vector<uint8_t> BuildThumbsDb(const std::vector<Thumbnailed> &files) {
    ByteWriter catalog;
    catalog.U16(16); // header size
    catalog.U16(7);  // catalog version
    catalog.U32(static_cast<uint32_t>(files.size()));
    catalog.U32(kThumbnailSize);
    catalog.U32(kThumbnailSize);

    std::vector<CompoundStream> streams;
    streams.push_back({"Catalog", {}});
    for (size_t i = 0; i < files.size(); ++i) {
        const Thumbnailed &f = files[i];
        const size_t index = i + 1;
        catalog.U32(static_cast<uint32_t>(16 + (f.file_name.size() + 1) * 2 + 2));
        catalog.U32(static_cast<uint32_t>(index));
        catalog.U64(FileTimeOfLocal(f.modified, kPackingUtcOffsetHours));
        for (char c : f.file_name)
            catalog.U16(static_cast<uint8_t>(c));
        catalog.U16(0);
        catalog.U16(0); // padding to an even number of 16-bit units

        const std::vector<uint8_t> bitmap = ThumbnailBitmap(*f.image);
        ByteWriter thumb;
        thumb.U32(12); // header size
        thumb.U32(static_cast<uint32_t>(index));
        thumb.U32(static_cast<uint32_t>(bitmap.size()));
        thumb.Bytes(bitmap);
        // Each thumbnail is named by its index written backwards, as the cache does.
        streams.push_back({ReversedIndex(index), thumb.Take()});
    }
    streams[0].data = catalog.Take();

    auto file = WriteCompoundFile(streams, kThumbsSize);
    if (!file)
        throw std::logic_error("the thumbnail cache outgrew its fixed size");
    return std::move(*file);
}

} // namespace korvanta::payload
