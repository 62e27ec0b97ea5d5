// A little-endian TIFF, one directory per page. Each page is CCITT G4: a
// white line against the white line above is the one code "V0" (bit 1), and
// the page ends with the end-of-facsimile-block, two EOL codes.
#include "faxtiff.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace xwth_tool {
namespace {

void Put(std::string& s, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        s[at + i] = static_cast<char>(v >> (8 * i) & 0xFF);
    }
}

std::string WhiteG4Page(int rows) {
    std::vector<bool> bits(static_cast<size_t>(rows), true);
    for (int eol = 0; eol < 2; ++eol) {
        bits.insert(bits.end(), 11, false);
        bits.push_back(true);
    }
    std::string bytes((bits.size() + 7) / 8, '\0');
    for (size_t i = 0; i < bits.size(); ++i) {
        if (bits[i]) {
            bytes[i / 8] = static_cast<char>(bytes[i / 8] | 0x80 >> (i % 8));
        }
    }
    return bytes;
}

}  // namespace

bool WriteFaxTiff(const std::string& path, int pages, int rows, int yDpi) {
    std::string f("II*\0\0\0\0\0", 8);
    size_t nextSlot = 4;
    const std::string data = WhiteG4Page(rows);
    for (int page = 0; page < pages; ++page) {
        const size_t dataAt = f.size();
        f += data;
        f.resize((f.size() + 1) / 2 * 2, '\0');
        const size_t resAt = f.size();
        f.append(16, '\0');
        Put(f, resAt, 204, 4);
        Put(f, resAt + 4, 1, 4);
        Put(f, resAt + 8, static_cast<uint32_t>(yDpi), 4);
        Put(f, resAt + 12, 1, 4);
        // tag, type (3 SHORT, 4 LONG, 5 RATIONAL), value
        const uint32_t entries[][3] = {
            {256, 4, 1728}, {257, 4, static_cast<uint32_t>(rows)}, {258, 3, 1}, {259, 3, 4}, {262, 3, 0},
            {273, 4, static_cast<uint32_t>(dataAt)}, {277, 3, 1}, {278, 4, static_cast<uint32_t>(rows)},
            {279, 4, static_cast<uint32_t>(data.size())}, {282, 5, static_cast<uint32_t>(resAt)},
            {283, 5, static_cast<uint32_t>(resAt + 8)}, {296, 3, 2}};
        const size_t ifd = f.size();
        Put(f, nextSlot, static_cast<uint32_t>(ifd), 4);
        f.append(2 + std::size(entries) * 12 + 4, '\0');
        Put(f, ifd, static_cast<uint32_t>(std::size(entries)), 2);
        for (size_t i = 0; i < std::size(entries); ++i) {
            const size_t e = ifd + 2 + i * 12;
            Put(f, e, entries[i][0], 2);
            Put(f, e + 2, entries[i][1], 2);
            Put(f, e + 4, 1, 4);
            Put(f, e + 8, entries[i][2], entries[i][1] == 3 ? 2 : 4);
        }
        nextSlot = ifd + 2 + std::size(entries) * 12;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(f.data(), static_cast<std::streamsize>(f.size()));
    return static_cast<bool>(out);
}

}  // namespace xwth_tool
