// kernel32 MulDiv: a * b / c through a 64-bit product, rounded half away
// from zero; -1 when c is 0 or the result does not fit in an int.
#include <windows.h>

#include <climits>
#include <cstdint>

extern "C" {

WINBASEAPI int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) {
        return -1;
    }
    std::int64_t product = static_cast<std::int64_t>(nNumber) * nNumerator;
    std::int64_t divisor = nDenominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const std::int64_t half = divisor / 2;
    const std::int64_t result = product < 0 ? (product - half) / divisor : (product + half) / divisor;
    if (result > INT_MAX || result < -INT_MAX) {
        return -1;
    }
    return static_cast<int>(result);
}

}  // extern "C"
