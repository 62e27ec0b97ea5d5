// The 256 ternary raster operations, each compiled into its own row loop.
//
// A code is an 8-bit truth table: bit (P << 2 | S << 1 | D) holds the result
// for pattern bit P, source bit S and destination bit D. Interpreting that
// table per pixel costs a table walk per bit; instead every code is
// instantiated as a template whose body is the code's sum of minterms (or the
// complement of the missing ones when more than half are set), so that each
// loop is a handful of bitwise operations the compiler vectorises. Operands
// that a code does not read are not loaded at all.
#include "win32/gdi/rop.h"

#include <array>
#include <bit>
#include <cstring>
#include <utility>

namespace winport::gdi {
namespace {

template <unsigned M>
inline std::uint32_t Minterm(std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    const std::uint32_t pp = (M & 4) ? p : ~p;
    const std::uint32_t ss = (M & 2) ? s : ~s;
    const std::uint32_t dd = (M & 1) ? d : ~d;
    return pp & ss & dd;
}

// OR of the minterms whose bit is set in Bits.
template <unsigned Bits, unsigned M = 0>
inline std::uint32_t SumOf(std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    if constexpr (M == 8) {
        return 0;
    } else if constexpr ((Bits >> M) & 1) {
        return Minterm<M>(p, s, d) | SumOf<Bits, M + 1>(p, s, d);
    } else {
        return SumOf<Bits, M + 1>(p, s, d);
    }
}

// Specialisations whose sum of minterms the compiler would not reduce.
template <unsigned C>
inline std::uint32_t Eval(std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    if constexpr (C == 0x00) return 0;
    else if constexpr (C == 0xFF) return ~0u;
    else if constexpr (C == 0xCC) return s;
    else if constexpr (C == 0x33) return ~s;
    else if constexpr (C == 0xF0) return p;
    else if constexpr (C == 0x0F) return ~p;
    else if constexpr (C == 0xAA) return d;
    else if constexpr (C == 0x55) return ~d;
    else if constexpr (C == 0x88) return s & d;
    else if constexpr (C == 0xEE) return s | d;
    else if constexpr (C == 0x66) return s ^ d;
    else if constexpr (C == 0x5A) return p ^ d;
    else if constexpr (C == 0x3C) return p ^ s;
    else if constexpr (C == 0xC0) return p & s;
    else if constexpr (C == 0x44) return s & ~d;
    else if constexpr (C == 0x22) return ~s & d;
    else if constexpr (C == 0x11) return ~(s | d);
    else if constexpr (C == 0xBB) return ~s | d;
    else if constexpr (C == 0xA0) return p & d;
    else if constexpr (C == 0xFA) return p | d;
    else if constexpr (C == 0xFC) return p | s;
    else if constexpr (C == 0xB8) return ((p ^ d) & s) ^ p;   // PSDPxax: D where S is set, else P
    else if constexpr (C == 0xE2) return ((p ^ d) & s) ^ d;   // DSPDxax: P where S is set, else D
    else if constexpr (C == 0x96) return p ^ s ^ d;
    else if constexpr (C == 0x69) return ~(p ^ s ^ d);
    else if constexpr (std::popcount(C) > 4) return ~SumOf<(~C) & 0xFF>(p, s, d);
    else return SumOf<C>(p, s, d);
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

constexpr std::array<RopRowFn, 256> kRows = MakeTable(std::make_index_sequence<256>{});

}  // namespace

RopRowFn RopRow(std::uint8_t code) { return kRows[code]; }

}  // namespace winport::gdi
