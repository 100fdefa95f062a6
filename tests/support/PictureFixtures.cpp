#include "support/PictureFixtures.h"

#include <algorithm>

namespace {
void appendBigEndian(std::string& out, unsigned long value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}
unsigned long crc32Of(const std::string& bytes) {
    unsigned long crc = 0xFFFFFFFFul;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320ul & (0ul - (crc & 1)));
    }
    return crc ^ 0xFFFFFFFFul;
}
void appendChunk(std::string& png, const char* type, const std::string& data) {
    appendBigEndian(png, static_cast<unsigned long>(data.size()));
    std::string typed = std::string(type, 4) + data;
    png += typed;
    appendBigEndian(png, crc32Of(typed));
}
} // namespace

std::string greyPng(int width, int height) {
    std::string rows;
    for (int y = 0; y < height; ++y)
        rows += '\0' + std::string(static_cast<std::size_t>(width), '\x60'); // no filter, one tone
    std::string zlib = "\x78\x01";
    unsigned long a = 1, b = 0;
    for (unsigned char byte : rows) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t at = 0; at < rows.size() || at == 0; at += 65535) {
        std::size_t length = std::min<std::size_t>(65535, rows.size() - at);
        zlib += static_cast<char>(at + length >= rows.size() ? 1 : 0);
        zlib += static_cast<char>(length & 0xFF);
        zlib += static_cast<char>(length >> 8);
        zlib += static_cast<char>(~length & 0xFF);
        zlib += static_cast<char>((~length >> 8) & 0xFF);
        zlib += rows.substr(at, length);
    }
    appendBigEndian(zlib, (b << 16) | a);
    std::string header;
    appendBigEndian(header, static_cast<unsigned long>(width));
    appendBigEndian(header, static_cast<unsigned long>(height));
    header += std::string("\x08\x00\x00\x00\x00", 5); // 8-bit grey, deflate, no interlace
    std::string png = "\x89PNG\r\n\x1a\n";
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", zlib);
    appendChunk(png, "IEND", "");
    return png;
}
