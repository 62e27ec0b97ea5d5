// Fax TIFF files built byte by byte for the tests: well-formed pages of
// CCITT G3 or G4 white lines 1728 pixels wide, with any resolution values,
// and the damaged variants (a looping directory chain, missing tags, cut
// files). Standard library only, so both builds can make them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace xwth_test {

struct FaxPage {
    uint16_t compression = 4;  // 3: CCITT G3 (one-dimensional), 4: CCITT G4
    uint32_t xNum = 204, xDen = 1;
    uint32_t yNum = 196, yDen = 1;
    uint16_t unit = 2;          // 2 inch, 3 centimetre, 1 none; 0: no unit tag
    bool hasXRes = true;
    bool hasYRes = true;
    uint32_t rows = 16;
};

namespace detail {

// White lines: in G4 each line is one vertical-mode-0 code against the white
// line above, then the end-of-facsimile-block; in G3 each line is an EOL and
// the run codes for 1728 white pixels (make-up 1728, terminating 0), then
// the return-to-control of six EOLs.
inline std::string WhiteLines(uint16_t compression, uint32_t rows) {
    std::string bits;
    const char* eol = "000000000001";
    for (uint32_t r = 0; r < rows; ++r) {
        bits += compression == 4 ? "1" : std::string(eol) + "010011011" + "00110101";
    }
    for (int i = 0; i < (compression == 4 ? 2 : 6); ++i) {
        bits += eol;
    }
    std::string bytes((bits.size() + 7) / 8, '\0');
    for (size_t i = 0; i < bits.size(); ++i) {
        bytes[i / 8] = static_cast<char>(bytes[i / 8] | (bits[i] == '1') << (7 - i % 8));
    }
    return bytes;
}

inline void Put(std::string& s, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        s[at + i] = static_cast<char>(v >> (8 * i) & 0xFF);
    }
}
inline void Append32(std::string& s, uint32_t v) {
    s.append(4, '\0');
    Put(s, s.size() - 4, v, 4);
}

}  // namespace detail

// A little-endian TIFF with one directory per page. With loopTo >= 0 the
// last directory's next-directory offset points back at page loopTo.
inline std::string MakeFaxTiff(const std::vector<FaxPage>& pages, int loopTo = -1) {
    using namespace detail;
    std::string f("II*\0\0\0\0\0", 8);
    std::vector<size_t> ifdAt;
    size_t nextSlot = 4;  // where the offset of the next directory goes
    for (const FaxPage& p : pages) {
        const std::string data = WhiteLines(p.compression, p.rows);
        const size_t dataAt = f.size();
        f += data;
        if (f.size() % 2 != 0) {
            f += '\0';
        }
        const size_t xAt = f.size();
        Append32(f, p.xNum);
        Append32(f, p.xDen);
        const size_t yAt = f.size();
        Append32(f, p.yNum);
        Append32(f, p.yDen);

        struct Entry { uint16_t tag, type; uint32_t value; };
        std::vector<Entry> entries = {
            {256, 4, 1728}, {257, 4, p.rows}, {258, 3, 1}, {259, 3, p.compression}, {262, 3, 0},
            {273, 4, static_cast<uint32_t>(dataAt)}, {277, 3, 1}, {278, 4, p.rows},
            {279, 4, static_cast<uint32_t>(data.size())}};
        if (p.hasXRes) entries.push_back({282, 5, static_cast<uint32_t>(xAt)});
        if (p.hasYRes) entries.push_back({283, 5, static_cast<uint32_t>(yAt)});
        if (p.compression == 3) entries.push_back({292, 4, 0});
        if (p.unit != 0) entries.push_back({296, 3, p.unit});

        const size_t at = f.size();
        ifdAt.push_back(at);
        Put(f, nextSlot, static_cast<uint32_t>(at), 4);
        f.append(2 + entries.size() * 12 + 4, '\0');
        Put(f, at, static_cast<uint32_t>(entries.size()), 2);
        for (size_t i = 0; i < entries.size(); ++i) {
            const size_t e = at + 2 + i * 12;
            Put(f, e, entries[i].tag, 2);
            Put(f, e + 2, entries[i].type, 2);
            Put(f, e + 4, 1, 4);
            Put(f, e + 8, entries[i].value, entries[i].type == 3 ? 2 : 4);
        }
        nextSlot = at + 2 + entries.size() * 12;
    }
    if (loopTo >= 0 && static_cast<size_t>(loopTo) < ifdAt.size()) {
        Put(f, nextSlot, static_cast<uint32_t>(ifdAt[loopTo]), 4);
    }
    return f;
}

}  // namespace xwth_test
