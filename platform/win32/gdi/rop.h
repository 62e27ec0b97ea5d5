// Ternary raster operations as data: one specialised row function per code.
#pragma once

#include <cstdint>

namespace winport::gdi {

// d[i] = rop(p[i], s[i], d[i]) bitwise. s or p may be null when the code does
// not read them; d, s and p never overlap.
using RopRowFn = void (*)(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* p, int n);

[[nodiscard]] RopRowFn RopRow(std::uint8_t code);

// The same with a solid pattern: p is one value for the whole row.
using RopSolidRowFn = void (*)(std::uint32_t* d, const std::uint32_t* s, std::uint32_t p, int n);
[[nodiscard]] RopSolidRowFn RopSolidRow(std::uint8_t code);

// What a code reads: its truth table differs when that operand flips.
[[nodiscard]] constexpr bool RopUsesSource(std::uint8_t c) { return ((c >> 2) & 0x33) != (c & 0x33); }
[[nodiscard]] constexpr bool RopUsesPattern(std::uint8_t c) { return ((c >> 4) & 0x0F) != (c & 0x0F); }
[[nodiscard]] constexpr bool RopUsesDest(std::uint8_t c) { return ((c >> 1) & 0x55) != (c & 0x55); }

}  // namespace winport::gdi
