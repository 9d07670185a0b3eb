#pragma once
// A PNG checked as a reader takes it (signature, every chunk's CRC, the header's
// fields, the rows inflated with zlib) and its pixels; random screens to draw.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "link/CalcScreen.h"

namespace korvane::test {

inline std::uint32_t bigEndian(const Bytes& b, std::size_t at) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) << 24) |
           (static_cast<unsigned char>(b[at + 1]) << 16) | (static_cast<unsigned char>(b[at + 2]) << 8) |
           static_cast<unsigned char>(b[at + 3]);
}

// A PNG's chunks checked (every CRC), its header's fields, and its pixels: 0 dark,
// 1 light.
struct DecodedPng {
    int width = 0, height = 0, depth = 0, colour = -1;
    std::vector<std::vector<int>> pixels;
};

inline DecodedPng decodePng(const Bytes& png) {
    DecodedPng out;
    EXPECT_EQ(png.substr(0, 8), Bytes("\x89PNG\r\n\x1a\n", 8));
    Bytes idat;
    std::vector<std::string> order;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = bigEndian(png, at);
        const Bytes typed = png.substr(at + 4, 4 + length);
        const std::uint32_t crc = bigEndian(png, at + 8 + length);
        EXPECT_EQ(crc, crc32(0L, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size())))
            << typed.substr(0, 4);
        const std::string type = typed.substr(0, 4);
        order.push_back(type);
        if (type == "IHDR") {
            out.width = static_cast<int>(bigEndian(typed, 4));
            out.height = static_cast<int>(bigEndian(typed, 8));
            out.depth = static_cast<unsigned char>(typed[12]);
            out.colour = static_cast<unsigned char>(typed[13]);
            EXPECT_EQ(typed.substr(14, 3), Bytes(3, '\0'));
        }
        if (type == "IDAT") idat += typed.substr(4);
        at += 12 + length;
    }
    EXPECT_EQ(order, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    const std::size_t rowBytes = out.depth == 8 ? out.width : (out.width + 7) / 8;
    uLongf rawSize = static_cast<uLongf>((rowBytes + 1) * out.height);
    Bytes raw(rawSize, '\0');
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                         reinterpret_cast<const Bytef*>(idat.data()), static_cast<uLong>(idat.size())),
              Z_OK);
    EXPECT_EQ(rawSize, (rowBytes + 1) * out.height);
    for (int y = 0; y < out.height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * (rowBytes + 1);
        EXPECT_EQ(raw[row], '\0');
        std::vector<int> line;
        for (int x = 0; x < out.width; ++x) {
            if (out.depth == 8) {
                const int v = static_cast<unsigned char>(raw[row + 1 + x]);
                EXPECT_TRUE(v == 0 || v == 255);
                line.push_back(v == 255);
            } else {
                line.push_back((static_cast<unsigned char>(raw[row + 1 + x / 8]) >> (7 - x % 8)) & 1);
            }
        }
        out.pixels.push_back(std::move(line));
    }
    return out;
}

inline Bytes randomScreen(unsigned seed) {
    std::mt19937 random(seed);
    Bytes bits(link::Screen::kRowBytes * link::Screen::kHeight, '\0');
    for (char& c : bits) c = static_cast<char>(random() & 0xFF);
    return bits;
}

inline link::Screen screenOf(const Bytes& bits) {
    link::Screen s;
    s.bits.assign(bits.begin(), bits.end());
    return s;
}

}  // namespace korvane::test
