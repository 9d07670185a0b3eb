#include "link/CalcScreen.h"

#include <algorithm>

#include <zlib.h>

namespace korvane::link {
namespace {

void putBigEndian(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

// A chunk: its length, type, data, and the CRC of type and data.
void putChunk(Bytes& out, const char type[4], const Bytes& data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const Bytes typed = Bytes(type, 4) + data;
    out += typed;
    putBigEndian(out, static_cast<std::uint32_t>(
                          crc32(0L, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
}

}  // namespace

bool Screen::dark(int x, int y) const {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return false;
    const std::size_t at = static_cast<std::size_t>(y) * kRowBytes + static_cast<std::size_t>(x / 8);
    return at < bits.size() && (bits[at] & (0x80 >> (x % 8)));
}

ScreenSize visibleScreen(Calc calc) {
    if (calc == Calc::TI89 || calc == Calc::TI89Titanium) return {160, 100};
    return {Screen::kWidth, Screen::kHeight};
}

Bytes screenPng(const Screen& screen, ScreenSize size, bool greyscale) {
    const int width = std::clamp(size.width, 1, Screen::kWidth);
    const int height = std::clamp(size.height, 1, Screen::kHeight);

    // Each row: filter byte 0, then the pixels. In 1-bit greyscale 1 is white, the
    // screen's 1 is dark: the bits are inverted.
    const std::size_t rowBytes = greyscale ? static_cast<std::size_t>(width) : static_cast<std::size_t>(width + 7) / 8;
    Bytes raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        Bytes row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            const bool on = screen.dark(x, y);
            if (greyscale) row[static_cast<std::size_t>(x)] = static_cast<char>(on ? 0x00 : 0xFF);
            else if (!on) row[static_cast<std::size_t>(x / 8)] = static_cast<char>(row[static_cast<std::size_t>(x / 8)] | (0x80 >> (x % 8)));
        }
        raw += row;
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION);
    packed.resize(packedSize);

    Bytes header;
    putBigEndian(header, static_cast<std::uint32_t>(width));
    putBigEndian(header, static_cast<std::uint32_t>(height));
    header += static_cast<char>(greyscale ? 8 : 1);  // bit depth
    header += '\0';                                  // colour type: greyscale
    header += '\0';                                  // deflate
    header += '\0';                                  // adaptive filtering
    header += '\0';                                  // no interlace

    Bytes png("\x89PNG\r\n\x1a\n", 8);
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", packed);
    putChunk(png, "IEND", {});
    return png;
}

}  // namespace korvane::link
