// The BMP loader's steps: file header, info header, colour table, palette, pixel bits, bitmap.
#include "host/bmp.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "host/bitmap.h"
#include "host/file.h"
#include "host/log_sink.h"
#include "host/sjis_literal.h"

namespace {

constexpr size_t kPiece = 32768;  // the pixel bits are read in pieces of at most this size
// The pixel block of the original is one allocation of the image size; one that large
// cannot be had (the system's bitmaps are at most a few megabytes).
constexpr int64_t kMaxImageSize = int64_t(256) << 20;

BmpLoaderState state;
bool bitmap_taken = false;

// A file or a block of memory, read sequentially with absolute seeks.
class ByteSource {
public:
    explicit ByteSource(FILE* file) : file_(file) {
        if (std::fseek(file_, 0, SEEK_END) == 0) size_ = std::ftell(file_);
        std::fseek(file_, 0, SEEK_SET);
    }
    ByteSource(const uint8_t* data, size_t size) : data_(data), size_(int64_t(size)) {}

    size_t Read(void* out, size_t count) {
        if (file_) {
            const size_t got = std::fread(out, 1, count, file_);
            position_ += int64_t(got);
            return got;
        }
        const int64_t left = std::max<int64_t>(0, size_ - position_);
        const size_t got = size_t(std::min<int64_t>(left, int64_t(count)));
        if (got) std::memcpy(out, data_ + position_, got);
        position_ += int64_t(got);
        return got;
    }
    void Seek(int64_t position) {
        position_ = std::max<int64_t>(0, position);
        if (file_) std::fseek(file_, long(std::min<int64_t>(position_, size_)), SEEK_SET);
    }
    int64_t Position() const { return position_; }
    int64_t Remaining() const { return std::max<int64_t>(0, size_ - position_); }

private:
    FILE* file_ = nullptr;
    const uint8_t* data_ = nullptr;
    int64_t size_ = 0;
    int64_t position_ = 0;
};

uint16_t U16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool ReadInfo(ByteSource& in, const char* name) {
    // The file header: the type and the 12 bytes after it (size, two reserved words, offset).
    const int64_t start = in.Position();
    uint8_t file_header[14] = {};
    in.Read(file_header, sizeof file_header);
    if (U16(file_header) == 0x4D42) {
        state.has_header = true;
        state.bit_offset = U32(file_header + 10);
    } else {
        state.bit_offset = 0;
        in.Seek(start);
    }

    uint8_t raw[40];
    const int64_t info_start = in.Position();
    bool ok = in.Read(raw, sizeof raw) == sizeof raw;
    BmpInfoHeader& h = state.header;
    if (ok) {
        const uint32_t size = U32(raw);
        if (size == 12) {
            state.old_style = true;
            h = BmpInfoHeader{
                40, U16(raw + 4), U16(raw + 6), U16(raw + 8), U16(raw + 10), 0, 0, 0, 0, 0, 0};
            in.Seek(info_start + 12);
        } else if (size == 40) {
            h = BmpInfoHeader{size,          int32_t(U32(raw + 4)),  int32_t(U32(raw + 8)),
                              U16(raw + 12), U16(raw + 14),          U32(raw + 16),
                              U32(raw + 20), int32_t(U32(raw + 24)), int32_t(U32(raw + 28)),
                              U32(raw + 32), U32(raw + 36)};
        } else {
            ok = false;
        }
    }
    if (ok) {
        uint32_t count;
        if (!state.old_style && h.colours_used != 0) {
            count = h.colours_used & 0xFFFF;
        } else {
            switch (h.bit_count) {
                case 1:
                    count = 2;
                    break;
                case 4:
                    count = 16;
                    break;
                case 8:
                    count = 256;
                    break;
                default:
                    count = 0;
                    break;
            }
        }
        if (state.old_style) h.colours_used = h.colours_important = count;
        if (h.size_image == 0) {
            // As the original computes it: bottom-up rows, a negative height gives a negative
            // size, which no allocation can satisfy.
            // (128-bit: a wild width, bit count and height overflow 64 bits.)
            const __int128 stride = (__int128(h.bit_count) * h.width + 31) / 32 * 4;
            const __int128 image = stride * h.height;
            h.size_image = image < 0 || image > kMaxImageSize ? 0xFFFFFFFFu : uint32_t(image);
        }
        if (h.colours_used == 0) h.colours_used = count;

        const size_t entry = state.old_style ? 3 : 4;
        // A table longer than the rest of the file cannot be read: no need to make room for it.
        const size_t table_bytes = size_t(count) * entry;
        ok = int64_t(table_bytes) <= in.Remaining();
        std::vector<uint8_t> table(ok ? table_bytes : 0);
        ok = ok && in.Read(table.data(), table.size()) == table.size();
        state.colours.resize(ok ? count : 0);
        for (uint32_t i = 0; ok && i < count; ++i) {
            const uint8_t* e = table.data() + i * entry;
            state.colours[i] = BmpQuad{e[0], e[1], e[2], 0};
            if (entry == 4) state.colours[i].reserved = e[3];
        }
        if (state.bit_offset != 0) in.Seek(start + state.bit_offset);
    }
    if (!ok) HostLogf("%s file BITMAP INFO error", name);
    return ok;
}

bool MakePalette(const char* name) {
    const BmpInfoHeader& h = state.header;
    if (!state.old_style) {
        if (!state.colours.empty()) {
            for (const BmpQuad& q : state.colours)
                state.palette.push_back(BmpPaletteEntry{q.red, q.green, q.blue, 0});
        } else if (h.bit_count == 24) {
            // The colour cube: red in steps of 32, then green in steps of 32, blue of 64.
            uint8_t r = 0, g = 0, b = 0;
            for (int i = 0; i < 256; ++i) {
                state.palette.push_back(BmpPaletteEntry{r, g, b, 0});
                r = uint8_t(r + 32);
                if (r == 0) {
                    g = uint8_t(g + 32);
                    if (g == 0) b = uint8_t(b + 64);
                }
            }
        }
    }
    if (state.palette.empty()) {
        HostLogf("%s%s", name, " file パレット作成 error"_sj);
        return false;
    }
    return true;
}

bool ReadBits(ByteSource& in) {
    const BmpInfoHeader& h = state.header;
    // The pixel block is the image size; the file may hold less of it.
    if (int64_t(h.size_image) > kMaxImageSize) {
        if (h.compression != BMP_RGB) HostLog("BMP biCompression.");
        return false;
    }
    const size_t length = size_t(std::min<int64_t>(h.size_image, in.Remaining()));
    state.bits.reset(new (std::nothrow) uint8_t[std::max<size_t>(length, 1)]);
    if (!state.bits) return false;
    size_t done = 0;
    while (done < length) {
        const size_t got = in.Read(state.bits.get() + done, std::min(kPiece, length - done));
        if (got == 0) break;
        done += got;
    }
    state.bits_size = done;
    return true;
}

uint32_t Load(ByteSource& in, const char* name) {
    if (!ReadInfo(in, name) || !MakePalette(name) || !ReadBits(in)) return 0;
    state.bitmap = BmpDecodeBitmap(state.header, state.colours, state.bits.get(), state.bits_size);
    if (!state.bitmap) HostLogf("%s file BitmapFormDib error", name);
    return state.bitmap;
}

}  // namespace

uint32_t HostLoadBmp(const char* name) {
    HostFreeBmpState();
    FILE* file = HostFileOpen(name, "rb");
    if (!file) {
        HostLogf("BMP file %s open error", name);
        return 0;
    }
    ByteSource in(file);
    const uint32_t bitmap = Load(in, name);
    HostFileClose(file);
    return bitmap;
}

uint32_t HostLoadBmpFromMemory(const uint8_t* data, size_t size, const char* name) {
    HostFreeBmpState();
    ByteSource in(data, size);
    return Load(in, name);
}

uint32_t HostTakeBmpBitmap() {
    bitmap_taken = true;
    return state.bitmap;
}

void HostFreeBmpState() {
    if (state.bitmap && !bitmap_taken) HostDeleteBitmap(state.bitmap);
    state = BmpLoaderState{};
    bitmap_taken = false;
}

const BmpLoaderState& HostBmpState() {
    return state;
}
