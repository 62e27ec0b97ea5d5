// The 256 ternary raster operations, each compiled into its own row loop.
//
// A code is an 8-bit truth table: bit (P << 2 | S << 1 | D) holds the result
// for pattern bit P, source bit S and destination bit D. Interpreting that
// table per pixel costs a table walk per bit; instead every code is
// instantiated as a template whose body is a short bitwise expression of the
// code (see Eval). Operands that a code does not read are not loaded at all,
// and a solid brush is a constant rather than a row.
//
// The loops are written over 16-byte vectors, four of them (16 pixels) per
// turn, with the destination brought to 16-byte alignment first. Left to the
// auto-vectoriser, the same loops came out as one vector per turn with
// unaligned stores, whose speed then hung on where the loop happened to land
// in the code (up to 40 % apart between two codes compiling to the same
// instructions); a copy this way also beats the C library's memcpy on rows
// of a few kilobytes.
#include "win32/gdi/rop.h"

#include <array>
#include <cstring>
#include <utility>

namespace winport::gdi {
namespace {

// Four pixels. may_alias: it is read and written over rows of uint32_t.
using Vec = std::uint32_t __attribute__((vector_size(16), may_alias));
constexpr int kVecPixels = 4;
constexpr int kTurnPixels = 4 * kVecPixels;

// A function of source and destination given by its 4-bit truth table
// (bit S << 1 | D), in at most two operations. X is a pixel or a vector.
template <unsigned T, class X>
inline X Two(X s, X d) {
    if constexpr (T == 0x0) return X{};
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
    else return ~X{};
}

// Operations Two<T> takes (the ones with a complemented operand are one
// and-not where the target has it).
constexpr int TwoCost(unsigned t) {
    switch (t) {
    case 0x0: case 0xA: case 0xC: case 0xF: return 0;
    case 0x1: case 0x7: case 0x9: case 0xB: case 0xD: return 2;
    default: return 1;
    }
}

// The truth table of C with variable v (0 D, 1 S, 2 P) fixed at `value`:
// a 4-bit table over the other two, the higher one first.
constexpr unsigned Cofactor(unsigned c, int v, int value) {
    unsigned t = 0;
    int k = 0;
    for (int idx = 0; idx < 8; ++idx) {
        if (((idx >> v) & 1) == value) {
            t |= ((c >> idx) & 1u) << k++;
        }
    }
    return t;
}

// Operations of choosing between f0 (where x is 0) and f1 (where x is 1).
constexpr int MuxCost(unsigned f0, unsigned f1) {
    if (f0 == f1) return TwoCost(f0);
    if (f0 == 0) return 1 + TwoCost(f1);                   // x & f1
    if (f1 == 0) return 1 + TwoCost(f0);                   // ~x & f0
    if (f1 == 0xF) return 1 + TwoCost(f0);                 // x | f0
    if (f0 == (~f1 & 0xF)) return 1 + TwoCost(f0);         // x ^ f0
    // f0 ^ (x & (f0 ^ f1)) or f1 ^ (~x & (f0 ^ f1)), f0 ^ f1 itself being
    // a function of the other two.
    return 2 + TwoCost(f0 ^ f1) + (TwoCost(f0) < TwoCost(f1) ? TwoCost(f0) : TwoCost(f1));
}

// The variable to split a code on: the one whose two halves combine in the
// fewest operations (the pattern on a tie, as a solid one folds to a
// constant). No code then takes more than five operations and most far
// fewer: 0xE2 (the source picks pattern or destination) is d ^ (s & (d ^ p)).
constexpr int SplitVariable(unsigned c) {
    int best = 2;
    for (int v = 1; v >= 0; --v) {
        if (MuxCost(Cofactor(c, v, 0), Cofactor(c, v, 1)) <
            MuxCost(Cofactor(c, best, 0), Cofactor(c, best, 1))) {
            best = v;
        }
    }
    return best;
}

template <unsigned F0, unsigned F1, class X>
inline X Mux(X x, X a, X b) {
    if constexpr (F0 == F1) {
        return Two<F0>(a, b);
    } else if constexpr (F0 == 0) {
        return x & Two<F1>(a, b);
    } else if constexpr (F1 == 0) {
        return ~x & Two<F0>(a, b);
    } else if constexpr (F1 == 0xF) {
        return x | Two<F0>(a, b);
    } else if constexpr (F0 == (~F1 & 0xF)) {
        return x ^ Two<F0>(a, b);
    } else if constexpr (TwoCost(F0) <= TwoCost(F1)) {
        return Two<F0>(a, b) ^ (x & Two<F0 ^ F1>(a, b));
    } else {
        return Two<F1>(a, b) ^ (~x & Two<F0 ^ F1>(a, b));
    }
}

template <unsigned C, class X>
inline X Eval(X p, X s, X d) {
    constexpr int v = SplitVariable(C);
    constexpr unsigned f0 = Cofactor(C, v, 0), f1 = Cofactor(C, v, 1);
    if constexpr (v == 2) {
        return Mux<f0, f1>(p, s, d);
    } else if constexpr (v == 1) {
        return Mux<f0, f1>(s, p, d);
    } else {
        return Mux<f0, f1>(d, p, s);
    }
}

inline Vec LoadUnaligned(const std::uint32_t* p) {
    Vec v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// One row of code C. With Solid, p is unused and solid is the pattern of
// every pixel; otherwise p holds the row's pattern.
template <unsigned C, bool Solid>
inline void Kernel(std::uint32_t* __restrict d, const std::uint32_t* __restrict s,
                   const std::uint32_t* __restrict p, std::uint32_t solid, int n) {
    constexpr std::uint8_t c = static_cast<std::uint8_t>(C);
    constexpr bool useS = RopUsesSource(c), useP = RopUsesPattern(c), useD = RopUsesDest(c);
    if constexpr (C == 0xAA) {
        return;  // leaves the destination as it is
    }
    auto one = [&](int i) {
        const std::uint32_t pi = !useP ? 0u : Solid ? solid : p[i];
        d[i] = Eval<C>(pi, useS ? s[i] : 0u, useD ? d[i] : 0u);
    };
    int i = 0;
    for (; i < n && (reinterpret_cast<std::uintptr_t>(d + i) & (sizeof(Vec) - 1)) != 0; ++i) {
        one(i);
    }
    const Vec solidVec = Vec{} + solid;
    for (; i + kTurnPixels <= n; i += kTurnPixels) {
        Vec r[4];
        for (int k = 0; k < 4; ++k) {
            const int at = i + k * kVecPixels;
            const Vec pv = !useP ? Vec{} : Solid ? solidVec : LoadUnaligned(p + at);
            Vec sv = useS ? LoadUnaligned(s + at) : Vec{};
            Vec dv = useD ? *reinterpret_cast<const Vec*>(d + at) : Vec{};
#if defined(__SSE2__)
            // Held in registers: without this the compiler reads an operand
            // used twice from memory twice, and the loads bound the loop.
            asm("" : "+x"(sv), "+x"(dv));
#endif
            r[k] = Eval<C>(pv, sv, dv);
        }
        for (int k = 0; k < 4; ++k) {
            *reinterpret_cast<Vec*>(d + i + k * kVecPixels) = r[k];
        }
    }
    for (; i < n; ++i) {
        one(i);
    }
}

template <unsigned C>
void RowSolid(std::uint32_t* d, const std::uint32_t* s, std::uint32_t p, int n) {
    Kernel<C, true>(d, s, nullptr, p, n);
}

template <unsigned C>
void Row(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* p, int n) {
    Kernel<C, false>(d, s, p, 0u, n);
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
