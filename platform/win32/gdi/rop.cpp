// The 256 ternary raster operations, each compiled into its own row loop.
//
// A code is an 8-bit truth table: bit (P << 2 | S << 1 | D) holds the result
// for pattern bit P, source bit S and destination bit D. Interpreting that
// table per pixel costs a table walk per bit; instead every code is
// instantiated as a template whose body is a short bitwise expression of the
// code (see Eval), so that each loop is a handful of operations the compiler
// vectorises. Operands that a code does not read are not loaded at all, and
// a solid brush is a constant rather than a row.
#include "win32/gdi/rop.h"

#include <array>
#include <cstring>
#include <utility>

namespace winport::gdi {
namespace {

// A function of source and destination given by its 4-bit truth table
// (bit S << 1 | D), in at most two operations.
template <unsigned T>
inline std::uint32_t Two(std::uint32_t s, std::uint32_t d) {
    if constexpr (T == 0x0) return 0;
    else if constexpr (T == 0x1) return ~(s | d);
    else if constexpr (T == 0x2) return ~s & d;
    else if constexpr (T == 0x3) return ~s;
    else if constexpr (T == 0x4) return s & ~d;
    else if constexpr (T == 0x5) return ~d;
    else if constexpr (T == 0x6) return s ^ d;
    else if constexpr (T == 0x7) return ~(s & d);
    else if constexpr (T == 0x8) return s & d;
    else if constexpr (T == 0x9) return ~(s ^ d);
    else if constexpr (T == 0xA) return d;
    else if constexpr (T == 0xB) return ~s | d;
    else if constexpr (T == 0xC) return s;
    else if constexpr (T == 0xD) return s | ~d;
    else if constexpr (T == 0xE) return s | d;
    else return ~0u;
}

// A code splits on the pattern bit into two functions of S and D: the low
// nibble where P is 0, the high nibble where P is 1. Choosing between them
// bitwise, f0 ^ (p & (f0 ^ f1)), costs three more operations, so no code
// takes more than seven; codes that ignore P fold to their nibble.
template <unsigned C>
inline std::uint32_t Eval(std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    constexpr unsigned lo = C & 0xF, hi = C >> 4;
    if constexpr (lo == hi) {
        return Two<lo>(s, d);
    } else if constexpr (lo == 0) {
        return p & Two<hi>(s, d);
    } else if constexpr (hi == 0xF) {
        return p | Two<lo>(s, d);
    } else if constexpr (lo == (~hi & 0xF)) {
        return p ^ Two<lo>(s, d);
    } else {
        const std::uint32_t f0 = Two<lo>(s, d);
        return f0 ^ (p & (f0 ^ Two<hi>(s, d)));
    }
}

template <unsigned C>
void RowSolid(std::uint32_t* __restrict d, const std::uint32_t* __restrict s, std::uint32_t p, int n) {
    constexpr std::uint8_t c = static_cast<std::uint8_t>(C);
    constexpr bool useS = RopUsesSource(c);
    if constexpr (C == 0xCC) {
        std::memcpy(d, s, static_cast<std::size_t>(n) * 4);
    } else if constexpr (C == 0xAA) {
        // Leaves the destination as it is.
    } else {
        for (int i = 0; i < n; ++i) {
            d[i] = Eval<C>(p, useS ? s[i] : 0u, d[i]);
        }
    }
}

template <unsigned C>
void Row(std::uint32_t* __restrict d, const std::uint32_t* __restrict s,
         const std::uint32_t* __restrict p, int n) {
    constexpr std::uint8_t c = static_cast<std::uint8_t>(C);
    constexpr bool useS = RopUsesSource(c), useP = RopUsesPattern(c);
    if constexpr (C == 0xCC) {
        std::memcpy(d, s, static_cast<std::size_t>(n) * 4);
    } else if constexpr (C == 0xF0) {
        std::memcpy(d, p, static_cast<std::size_t>(n) * 4);
    } else if constexpr (C == 0xAA) {
        // Leaves the destination as it is.
    } else {
        for (int i = 0; i < n; ++i) {
            d[i] = Eval<C>(useP ? p[i] : 0u, useS ? s[i] : 0u, d[i]);
        }
    }
}

template <std::size_t... I>
constexpr std::array<RopRowFn, 256> MakeTable(std::index_sequence<I...>) {
    return {&Row<I>...};
}

template <std::size_t... I>
constexpr std::array<RopSolidRowFn, 256> MakeSolidTable(std::index_sequence<I...>) {
    return {&RowSolid<I>...};
}

constexpr std::array<RopRowFn, 256> kRows = MakeTable(std::make_index_sequence<256>{});
constexpr std::array<RopSolidRowFn, 256> kSolidRows = MakeSolidTable(std::make_index_sequence<256>{});

}  // namespace

RopRowFn RopRow(std::uint8_t code) { return kRows[code]; }
RopSolidRowFn RopSolidRow(std::uint8_t code) { return kSolidRows[code]; }

}  // namespace winport::gdi
