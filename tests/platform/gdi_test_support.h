// Helpers of the drawing suites: a memory DC over a 32-bit top-down DIB
// section whose pixels the test reads directly, and ink bounding boxes.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

namespace xwth_test {

// The header of an uncompressed top-down DIB.
inline BITMAPINFO TopDownDib(int width, int height, WORD bitCount) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = bitCount;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) : w(width), h(height) {
        BITMAPINFO bi = TopDownDib(width, height, 32);
        dc = CreateCompatibleDC(NULL);
        void* p = nullptr;
        bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, NULL, 0);
        bits = static_cast<std::uint32_t*>(p);
        old = SelectObject(dc, bitmap);
        Fill(fill);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void Fill(COLORREF c) {
        for (int i = 0; i < w * h; ++i) bits[i] = ToRaw(c);
    }
    [[nodiscard]] COLORREF At(int x, int y) const {
        const std::uint32_t v = bits[y * w + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    // The smallest rectangle holding every pixel that is not c; empty if none.
    [[nodiscard]] RECT InkBox(COLORREF c) const {
        RECT r{w, h, 0, 0};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (At(x, y) != c) {
                    if (x < r.left) r.left = x;
                    if (y < r.top) r.top = y;
                    if (x + 1 > r.right) r.right = x + 1;
                    if (y + 1 > r.bottom) r.bottom = y + 1;
                }
        if (r.right == 0) r = RECT{0, 0, 0, 0};
        return r;
    }
    [[nodiscard]] int Count(COLORREF c) const {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) n += At(x, y) == c;
        return n;
    }
    static std::uint32_t ToRaw(COLORREF c) {
        return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }

    int w, h;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    std::uint32_t* bits = nullptr;
};

}  // namespace xwth_test
