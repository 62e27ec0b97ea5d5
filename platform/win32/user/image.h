// user32's image helpers shared by the loaders and the icon calls (winport-private).
#pragma once
//
// Holds: PackedDib (a DIB read from untrusted bytes), Pixels (top-down
// 0x00RRGGBB words), and the conversions between them, bitmaps and icons.
//
// Every reader checks the bytes it was given before following an offset in
// them: a header, colour table or pixel row that does not lie wholly inside
// the resource (or file) fails the load instead of reading past it.

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace winport::user {

// Top-down rows of 0x00RRGGBB words (a mask: 0 opaque, 0x00FFFFFF transparent).
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;

    [[nodiscard]] bool empty() const { return rgb.empty(); }
    [[nodiscard]] std::uint32_t& at(int x, int y) { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

// A BI_RGB DIB of 1, 4, 8, 16 (5-5-5), 24 or 32 bits. The colour table is
// always 256 entries (unused ones black), so no pixel index can reach past it.
struct PackedDib {
    int width = 0;
    int height = 0;  // of the picture (an icon's header counts the mask rows too)
    bool bottomUp = true;
    int bitCount = 0;
    int colorsUsed = 0;  // entries the table really held
    std::array<std::uint32_t, 256> palette{};
    const std::uint8_t* bits = nullptr;
    std::size_t stride = 0;
    const std::uint8_t* maskBits = nullptr;  // an icon's AND mask (1 = transparent)
    std::size_t maskStride = 0;
};

// Reads the header, colour table and rows of a packed DIB at data[0, size).
// bitsOffset, when not 0, is where the rows start (a .bmp file's bfOffBits,
// counted from data); icon: the rows are followed by a 1-bit AND mask and
// the header's height counts both. Answers ERROR_SUCCESS, ERROR_INVALID_DATA
// for bytes that are not a DIB or do not fit, or ERROR_NOT_SUPPORTED for a
// DIB of a kind not read here (compressed, OS/2 headers, PNG images).
[[nodiscard]] DWORD ParsePackedDib(const std::uint8_t* data, std::size_t size, std::size_t bitsOffset, bool icon,
                                   PackedDib& out);

// The palette index of the first pixel in memory (the bottom-left one of a
// bottom-up DIB); -1 for a DIB without a colour table.
[[nodiscard]] int FirstPixelIndex(const PackedDib& dib);

// The DIB's colours (or, with mask, its AND mask) scaled to width x height by
// nearest neighbour.
[[nodiscard]] Pixels DecodeDib(const PackedDib& dib, int width, int height, bool mask = false);

// src scaled to width x height by nearest neighbour (a copy when the size is its own).
[[nodiscard]] Pixels Scaled(const Pixels& src, int width, int height);

// What LoadImageA makes of the pixels.
enum class BitmapKind { Mono, Device, DibSection24, DibSection32 };
// A new bitmap holding px; NULL with the last error set on failure.
[[nodiscard]] HBITMAP BitmapFromPixels(const Pixels& px, BitmapKind kind);
// The pixels of any bitmap; empty when the handle is no bitmap.
[[nodiscard]] Pixels PixelsOfBitmap(HBITMAP bm);

// A new icon owning copies of the pixels. color empty: a monochrome icon
// whose mask is twice as tall (AND rows, then XOR rows).
[[nodiscard]] HICON MakeIcon(Pixels color, Pixels mask, bool isIcon, DWORD xHotspot, DWORD yHotspot);

}  // namespace winport::user
