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

class BitWriter {
public:
    void Put(const char* bits) {
        for (; *bits != '\0'; ++bits) {
            m_acc = static_cast<uint8_t>(m_acc << 1 | (*bits == '1'));
            if (++m_count == 8) {
                m_bytes += static_cast<char>(m_acc);
                m_acc = 0;
                m_count = 0;
            }
        }
    }
    std::string Finish() {
        while (m_count != 0) {
            Put("0");
        }
        return m_bytes;
    }

private:
    std::string m_bytes;
    uint8_t m_acc = 0;
    int m_count = 0;
};

// White lines: in G4 each line is one vertical-mode-0 code against the white
// line above, then the end-of-facsimile-block; in G3 each line is an EOL and
// the run codes for 1728 white pixels (make-up 1728, terminating 0), then
// the return-to-control of six EOLs.
inline std::string WhiteLines(uint16_t compression, uint32_t rows) {
    BitWriter w;
    const char* eol = "000000000001";
    for (uint32_t r = 0; r < rows; ++r) {
        if (compression == 4) {
            w.Put("1");
        } else {
            w.Put(eol);
            w.Put("010011011");
            w.Put("00110101");
        }
    }
    for (int i = 0; i < (compression == 4 ? 2 : 6); ++i) {
        w.Put(eol);
    }
    return w.Finish();
}

inline void Put16(std::string& s, size_t at, uint32_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8 & 0xFF);
}
inline void Put32(std::string& s, size_t at, uint32_t v) {
    Put16(s, at, v & 0xFFFF);
    Put16(s, at + 2, v >> 16);
}
inline void Append32(std::string& s, uint32_t v) {
    s.append(4, '\0');
    Put32(s, s.size() - 4, v);
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
        Put32(f, nextSlot, static_cast<uint32_t>(at));
        f.append(2 + entries.size() * 12 + 4, '\0');
        Put16(f, at, static_cast<uint32_t>(entries.size()));
        for (size_t i = 0; i < entries.size(); ++i) {
            const size_t e = at + 2 + i * 12;
            Put16(f, e, entries[i].tag);
            Put16(f, e + 2, entries[i].type);
            Put32(f, e + 4, 1);
            if (entries[i].type == 3) {
                Put16(f, e + 8, entries[i].value);
            } else {
                Put32(f, e + 8, entries[i].value);
            }
        }
        nextSlot = at + 2 + entries.size() * 12;
    }
    if (loopTo >= 0 && static_cast<size_t>(loopTo) < ifdAt.size()) {
        detail::Put32(f, nextSlot, static_cast<uint32_t>(ifdAt[loopTo]));
    }
    return f;
}

}  // namespace xwth_test
