// user32 system colours and metrics: GetSysColor, GetSysColorBrush, GetSystemMetrics,
// SystemParametersInfoA. The values are those of the classic Windows scheme at 96 dpi.
#include "win32/gdi/gdi.h"

#include <array>
#include <cstring>

using namespace winport;
using namespace winport::gdi;

namespace {

constexpr std::array<COLORREF, COLOR_MENUBAR + 1> kSysColors = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(192, 192, 192),  // 25, unnamed
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),    // COLOR_MENUHILIGHT
    RGB(212, 208, 200),  // COLOR_MENUBAR
};

struct Metric {
    int index;
    int value;
};

constexpr Metric kMetrics[] = {
    {SM_CXSCREEN, kScreenWidth}, {SM_CYSCREEN, kScreenHeight},
    {SM_CXVSCROLL, 16}, {SM_CYHSCROLL, 16}, {SM_CYCAPTION, 19},
    {SM_CXBORDER, 1}, {SM_CYBORDER, 1}, {SM_CXDLGFRAME, 3}, {SM_CYDLGFRAME, 3},
    {SM_CYVTHUMB, 16}, {SM_CXHTHUMB, 16}, {SM_CXICON, 32}, {SM_CYICON, 32},
    {SM_CXCURSOR, 32}, {SM_CYCURSOR, 32}, {SM_CYMENU, 19},
    {SM_CXFULLSCREEN, kScreenWidth}, {SM_CYFULLSCREEN, kScreenHeight - 19},
    {SM_CYVSCROLL, 16}, {SM_CXHSCROLL, 16}, {SM_CXMIN, 112}, {SM_CYMIN, 27},
    {SM_CXSIZE, 18}, {SM_CYSIZE, 18}, {SM_CXFRAME, 4}, {SM_CYFRAME, 4},
    {SM_CXDOUBLECLK, 4}, {SM_CYDOUBLECLK, 4}, {SM_CXICONSPACING, 75}, {SM_CYICONSPACING, 75},
    {SM_CXEDGE, 2}, {SM_CYEDGE, 2}, {SM_CXSMICON, 16}, {SM_CYSMICON, 16},
    {SM_CYSMCAPTION, 15}, {SM_CXSMSIZE, 12}, {SM_CYSMSIZE, 14},
    {SM_CXMENUSIZE, 18}, {SM_CYMENUSIZE, 18}, {SM_CXMENUCHECK, 13}, {SM_CYMENUCHECK, 13},
    {SM_CMONITORS, 1},
};

// The faces of the non-client fonts: a sans face of 8 points (11 pixels at 96
// dpi), bold for captions. fontconfig resolves the name to an installed face.
void SansFont(LOGFONTA* lf, LONG weight) {
    std::memset(lf, 0, sizeof(*lf));
    lf->lfHeight = -11;
    lf->lfWeight = weight;
    lf->lfCharSet = DEFAULT_CHARSET;
    lf->lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strcpy(lf->lfFaceName, "Liberation Sans");
}

}  // namespace

extern "C" {

// An index beyond the table answers 0, as Windows does.
WINUSERAPI DWORD WINAPI GetSysColor(int nIndex) {
    if (nIndex < 0 || nIndex >= static_cast<int>(kSysColors.size())) {
        return 0;
    }
    return kSysColors[static_cast<std::size_t>(nIndex)];
}

// Brushes owned by the system: DeleteObject leaves them alone.
WINUSERAPI HBRUSH WINAPI GetSysColorBrush(int nIndex) {
    static const std::array<std::shared_ptr<Brush>, kSysColors.size()> brushes = [] {
        std::array<std::shared_ptr<Brush>, kSysColors.size()> all;
        for (std::size_t i = 0; i < all.size(); ++i) {
            all[i] = std::make_shared<Brush>();
            all[i]->stock = true;
            all[i]->color = kSysColors[i];
            RegisterObject(all[i]);
        }
        return all;
    }();
    if (nIndex < 0 || nIndex >= static_cast<int>(brushes.size())) {
        return NULL;
    }
    return HandleOf<HBRUSH>(brushes[static_cast<std::size_t>(nIndex)]);
}

WINUSERAPI int WINAPI GetSystemMetrics(int nIndex) {
    for (const Metric& m : kMetrics) {
        if (m.index == nIndex) return m.value;
    }
    return 0;
}

// SPI_GETNONCLIENTMETRICS takes the record with or without its last field
// (cbSize 344 or 340). Keyboard cues are on: a headless menu has no Alt key
// to reveal its underlines.
WINUSERAPI BOOL WINAPI SystemParametersInfoA(UINT uiAction, UINT uiParam, PVOID pvParam,
                                             UINT fWinIni) {
    (void)uiParam;
    (void)fWinIni;
    if (pvParam == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    switch (uiAction) {
    case SPI_GETNONCLIENTMETRICS: {
        auto* m = static_cast<NONCLIENTMETRICSA*>(pvParam);
        const UINT size = m->cbSize;
        if (size != sizeof(NONCLIENTMETRICSA) &&
            size != offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        NONCLIENTMETRICSA n{};
        n.cbSize = size;
        n.iBorderWidth = 1;
        n.iScrollWidth = 16;
        n.iScrollHeight = 16;
        n.iCaptionWidth = 18;
        n.iCaptionHeight = 18;
        SansFont(&n.lfCaptionFont, FW_BOLD);
        n.iSmCaptionWidth = 12;
        n.iSmCaptionHeight = 15;
        SansFont(&n.lfSmCaptionFont, FW_BOLD);
        n.iMenuWidth = 18;
        n.iMenuHeight = 18;
        SansFont(&n.lfMenuFont, FW_NORMAL);
        SansFont(&n.lfStatusFont, FW_NORMAL);
        SansFont(&n.lfMessageFont, FW_NORMAL);
        std::memcpy(m, &n, size);
        return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
        SansFont(static_cast<LOGFONTA*>(pvParam), FW_NORMAL);
        return TRUE;
    case SPI_GETWORKAREA:
        *static_cast<RECT*>(pvParam) = RECT{0, 0, kScreenWidth, kScreenHeight};
        return TRUE;
    case SPI_GETFLATMENU:
        *static_cast<BOOL*>(pvParam) = FALSE;
        return TRUE;
    case SPI_GETKEYBOARDCUES:
        *static_cast<BOOL*>(pvParam) = TRUE;
        return TRUE;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

}  // extern "C"
