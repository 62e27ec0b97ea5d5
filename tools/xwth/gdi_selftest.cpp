// The "gdi-selftest" command: draws a test sheet through the Win32 drawing
// calls (raster operations, edges, text in several faces, sizes and
// escapements, a halftone fill, an image list with a masked strip, a
// disabled picture) and saves it as DIR/gdi-selftest.png.
#include "gdi_selftest.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#if !defined(_WIN32)
#include <winport.h>
#endif

namespace xwth_tool {
namespace {

constexpr int kWidth = 900, kHeight = 640;

void Label(HDC dc, int x, int y, const char* text) {
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

HFONT Font(int points, const char* face, int escapement = 0, int weight = FW_NORMAL, BOOL underline = FALSE,
           BOOL strike = FALSE) {
    return CreateFontA(-((points * 96 + 36) / 72), 0, escapement, escapement, weight, FALSE, underline,
                       strike, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0,
                       face);
}

// Every one of the 256 codes on 12x12 cells: destination in vertical
// stripes, source in horizontal stripes, brush a solid colour.
void RasterOperations(HDC dc, int x0, int y0) {
    HDC src = CreateCompatibleDC(dc);
    HBITMAP srcBm = CreateCompatibleBitmap(dc, 12, 12);
    HGDIOBJ oldSrc = SelectObject(src, srcBm);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) SetPixel(src, x, y, (y / 3) % 2 ? RGB(0, 0, 200) : RGB(255, 255, 255));
    HBRUSH brush = CreateSolidBrush(RGB(230, 160, 0));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    for (int code = 0; code < 256; ++code) {
        const int x = x0 + (code % 16) * 14, y = y0 + (code / 16) * 14;
        for (int k = 0; k < 12; ++k) {
            const RECT col{x + k, y, x + k + 1, y + 12};
            HBRUSH stripe = CreateSolidBrush((k / 3) % 2 ? RGB(200, 0, 0) : RGB(0, 0, 0));
            FillRect(dc, &col, stripe);
            DeleteObject(stripe);
        }
        BitBlt(dc, x, y, 12, 12, src, 0, 0, static_cast<DWORD>(code) << 16);
    }
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
    SelectObject(src, oldSrc);
    DeleteObject(srcBm);
    DeleteDC(src);
}

void Edges(HDC dc, int x0, int y0) {
    struct Kind {
        UINT edge;
        const char* name;
    };
    const Kind kinds[] = {{BDR_RAISEDINNER, "RAISEDINNER"}, {BDR_SUNKENOUTER, "SUNKENOUTER"},
                          {EDGE_RAISED, "RAISED"},           {EDGE_SUNKEN, "SUNKEN"},
                          {EDGE_ETCHED, "ETCHED"},           {EDGE_BUMP, "BUMP"}};
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        RECT rc{x0 + static_cast<int>(i) * 70, y0, x0 + static_cast<int>(i) * 70 + 60, y0 + 30};
        DrawEdge(dc, &rc, kinds[i].edge, BF_RECT | BF_MIDDLE);
        RECT text{rc.left, rc.bottom + 2, rc.right + 8, rc.bottom + 16};
        DrawTextA(dc, kinds[i].name, -1, &text, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
}

void Texts(HDC dc, int x0, int y0) {
    const char* faces[] = {"Liberation Sans", "Liberation Serif", "Liberation Mono", "DejaVu Sans",
                           "Arial Narrow"};
    const int sizes[] = {8, 10, 12, 16};
    int y = y0;
    for (const char* face : faces) {
        int x = x0;
        for (int points : sizes) {
            HFONT f = Font(points, face);
            HGDIOBJ old = SelectObject(dc, f);
            char text[64];
            std::snprintf(text, sizeof(text), "%s %d", face, points);
            SIZE ext{};
            GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &ext);
            Label(dc, x, y, text);
            x += ext.cx + 12;
            SelectObject(dc, old);
            DeleteObject(f);
        }
        y += 26;
    }
    // Menu-style lines: a prefix, a tab, underline and strike-out faces.
    HFONT f = Font(8, "Liberation Sans");
    HGDIOBJ old = SelectObject(dc, f);
    RECT rc{x0, y, x0 + 300, y + 16};
    DrawTextA(dc, "&Open file\tCtrl+O", -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
    SelectObject(dc, old);
    DeleteObject(f);
    HFONT u = Font(10, "Liberation Sans", 0, FW_BOLD, TRUE, FALSE);
    old = SelectObject(dc, u);
    Label(dc, x0 + 320, y, "Bold underlined");
    SelectObject(dc, old);
    DeleteObject(u);
    HFONT s = Font(10, "Liberation Serif", 0, FW_NORMAL, FALSE, TRUE);
    old = SelectObject(dc, s);
    Label(dc, x0 + 480, y, "Struck out");
    SelectObject(dc, old);
    DeleteObject(s);
}

void Escapements(HDC dc, int x0, int y0) {
    const int angles[] = {0, 450, 900, 1800, 2700};
    for (std::size_t i = 0; i < std::size(angles); ++i) {
        HFONT f = Font(11, "Liberation Sans", angles[i], FW_BOLD);
        HGDIOBJ old = SelectObject(dc, f);
        char text[32];
        std::snprintf(text, sizeof(text), "esc %d", angles[i]);
        Label(dc, x0 + 60 + static_cast<int>(i) * 20, y0 + 60, text);
        SelectObject(dc, old);
        DeleteObject(f);
    }
    // A ribbon as owner-drawn menus paint it: narrow bold text reading upwards.
    RECT band{x0 + 190, y0, x0 + 212, y0 + 120};
    HBRUSH navy = CreateSolidBrush(RGB(10, 36, 106));
    FillRect(dc, &band, navy);
    DeleteObject(navy);
    HFONT f = CreateFontA(22 - 5, 0, 900, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_TT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0, "Arial Narrow");
    HGDIOBJ old = SelectObject(dc, f);
    SetTextColor(dc, RGB(255, 255, 255));
    SetTextCharacterExtra(dc, 1);
    RECT text{band.left, band.bottom - 5, band.right, band.top};
    DrawTextA(dc, "Ribbon", -1, &text, DT_SINGLELINE | DT_NOCLIP);
    SetTextCharacterExtra(dc, 0);
    SetTextColor(dc, RGB(0, 0, 0));
    SelectObject(dc, old);
    DeleteObject(f);
}

void Halftone(HDC dc, int x0, int y0) {
    WORD rows[8];
    for (int i = 0; i < 8; ++i) rows[i] = static_cast<WORD>(0x5555u << (i & 1));
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH brush = CreatePatternBrush(pattern);
    DeleteObject(pattern);
    HGDIOBJ old = SelectObject(dc, brush);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    SetBkColor(dc, GetSysColor(COLOR_MENU));
    PatBlt(dc, x0, y0, 120, 40, PATCOPY);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteObject(brush);
}

// Four 16x16 pictures on magenta, drawn transparently over a checkered
// background, and the second one disabled.
void Images(HDC dc, int x0, int y0) {
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP strip = CreateCompatibleBitmap(dc, 64, 16);
    HGDIOBJ old = SelectObject(mem, strip);
    const RECT all{0, 0, 64, 16};
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(mem, &all, magenta);
    DeleteObject(magenta);
    const COLORREF colours[4] = {RGB(200, 0, 0), RGB(0, 128, 0), RGB(0, 0, 200), RGB(128, 128, 0)};
    for (int k = 0; k < 4; ++k) {
        HBRUSH b = CreateSolidBrush(colours[k]);
        const RECT body{k * 16 + 2 + k, 2, k * 16 + 14, 14 - k};
        FillRect(mem, &body, b);
        DeleteObject(b);
        const RECT hole{k * 16 + 6, 6, k * 16 + 9, 9};
        FillRect(mem, &hole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    SelectObject(mem, old);
    DeleteDC(mem);

    for (int y = 0; y < 24; y += 4)
        for (int x = 0; x < 140; x += 4) {
            const RECT cell{x0 + x, y0 + y, x0 + x + 4, y0 + y + 4};
            FillRect(dc, &cell, static_cast<HBRUSH>(GetStockObject(((x + y) / 4) % 2 ? LTGRAY_BRUSH : WHITE_BRUSH)));
        }
    HIMAGELIST il = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR4, 0, 1);
    ImageList_AddMasked(il, strip, RGB(255, 0, 255));
    for (int k = 0; k < ImageList_GetImageCount(il); ++k) {
        ImageList_Draw(il, k, dc, x0 + 4 + k * 20, y0 + 4, ILD_TRANSPARENT);
    }
    // Disabled: the picture on white, embossed in the 3-D colours.
    HDC pic = CreateCompatibleDC(dc);
    HBITMAP picBm = CreateCompatibleBitmap(dc, 16, 16);
    HGDIOBJ oldPic = SelectObject(pic, picBm);
    PatBlt(pic, 0, 0, 16, 16, WHITENESS);
    ImageList_Draw(il, 1, pic, 0, 0, ILD_TRANSPARENT);
    SelectObject(pic, oldPic);
    DeleteDC(pic);
    const RECT face{x0 + 90, y0 + 30, x0 + 140, y0 + 60};
    FillRect(dc, &face, GetSysColorBrush(COLOR_3DFACE));
    DrawStateA(dc, NULL, NULL, reinterpret_cast<LPARAM>(picBm), 0, x0 + 100, y0 + 36, 16, 16,
               DST_BITMAP | DSS_DISABLED);
    DeleteObject(picBm);
    ImageList_Destroy(il);
    DeleteObject(strip);
}

}  // namespace

int RunGdiSelftest(int argc, char** argv) {
    const char* out = nullptr;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            out = argv[++i];
        } else if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            std::puts("usage: xwth gdi-selftest --out DIR\n"
                      "draws the GDI test sheet and saves it as DIR/gdi-selftest.png");
            return 0;
        }
    }
    if (out == nullptr) {
        std::fputs("usage: xwth gdi-selftest --out DIR\n", stderr);
        return 2;
    }
    if (!CreateDirectoryA(out, NULL) && GetLastError() != ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "xwth gdi-selftest: cannot create %s (error %lu)\n", out,
                     static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP sheet = CreateCompatibleBitmap(screen, kWidth, kHeight);
    ReleaseDC(NULL, screen);
    HGDIOBJ old = SelectObject(dc, sheet);
    const RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    HFONT title = Font(14, "Liberation Sans", 0, FW_BOLD);
    HGDIOBJ oldFont = SelectObject(dc, title);
    Label(dc, 10, 8, "winport GDI test sheet");
    HFONT small = Font(8, "Liberation Sans");
    SelectObject(dc, small);
    Label(dc, 10, 36, "256 raster operations (code = 16 * row + column)");
    RasterOperations(dc, 10, 52);
    Label(dc, 250, 36, "DrawEdge");
    Edges(dc, 250, 52);
    Label(dc, 250, 110, "Halftone brush");
    Halftone(dc, 250, 126);
    Label(dc, 400, 110, "Image list (masked strip, 4-bit) and a disabled picture");
    Images(dc, 400, 126);
    Label(dc, 650, 110, "Escapement");
    Escapements(dc, 650, 126);
    Texts(dc, 10, 290);
    SelectObject(dc, oldFont);
    DeleteObject(title);
    DeleteObject(small);
    SelectObject(dc, old);
    const std::string path = std::string(out) + "/gdi-selftest.png";
#if defined(_WIN32)
    // Saving PNG files is a winport extension; the Windows build draws only.
    const BOOL saved = FALSE;
    SetLastError(ERROR_NOT_SUPPORTED);
#else
    const BOOL saved = WpSaveBitmapAsPng(sheet, path.c_str());
#endif
    DeleteObject(sheet);
    DeleteDC(dc);
    if (!saved) {
        std::fprintf(stderr, "xwth gdi-selftest: cannot write %s (error %lu)\n", path.c_str(),
                     static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}

}  // namespace xwth_tool
