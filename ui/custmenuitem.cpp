// CCustMenuItem: one owner-drawn entry, measured and drawn with the menu's
// DRAWATTRS, the ribbon band along the menu's left edge, and the masked
// bitmap copy that paints a ribbon bitmap.
//
// Layout of one item, L being the item's left edge moved right past the
// ribbon and IW = szImage.cx + 2 * szImageMargin.cx (22 by default):
//
//   L+1 .. L+1+IW      image column: sunken frame when checked, raised frame
//                      when selected with an image
//   L+1+margin.cx      the image or check mark, centred vertically
//   L+IW+2 .. right    text area: highlight fill, text inset by szTextMargin
//
// A grayed item is drawn whole only by full drawings (ODA_DRAWENTIRE): a
// selection change leaves its image, fill and text alone.
#include <xwth/custmenu.h>

#include "ui/resourcebitmap.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr UINT kMeasureFormat = DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS;
constexpr UINT kDrawFormat = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
// Where the pattern's set bits arrive as all-ones the brush is painted,
// elsewhere the destination stays: (S & P) | (~S & D).
constexpr DWORD kRopBrushWhereSourceSet = 0x00E20746;

// Selects an object into a DC for one scope and puts the previous one back.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(obj != NULL ? ::SelectObject(dc, obj) : NULL) {}
    ~SelectScope() {
        if (m_old != NULL) ::SelectObject(m_dc, m_old);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;
    [[nodiscard]] bool ok() const { return m_old != NULL; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

int Channel(COLORREF c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

}  // namespace

CCustMenuItem::CCustMenuItem(const char* text, int nImage, int bBold) : m_nStructSize(0), m_nImage(-1), m_bBold(0) {
    Init(text, nImage, bBold);
}

CCustMenuItem::~CCustMenuItem() {
    m_strText.Empty();
}

void CCustMenuItem::Init(const char* text, int nImage, int bBold) {
    m_nStructSize = sizeof(CCustMenuItem);
    m_strText = text;
    m_nImage = nImage;
    m_bBold = bBold;
}

int CCustMenuItem::IsValid() {
    return AfxIsValidAddress(this, sizeof(CCustMenuItem), TRUE) && m_nStructSize == sizeof(CCustMenuItem);
}

int CCustMenuItem::IsImageAvailable(DRAWATTRS* pAttrs) {
    return m_nImage >= 0 && pAttrs->hImageList != NULL && m_nImage < ::ImageList_GetImageCount(pAttrs->hImageList);
}

// With the default record an item is max(22, text height) high and text
// width + 30 wide, plus the ribbon's width while the ribbon is on.
void CCustMenuItem::MeasureItem(LPMEASUREITEMSTRUCT lpMIS, DRAWATTRS* pAttrs) {
    CClientDC dc(nullptr);
    const SelectScope font(dc.m_hDC, (m_bBold ? pAttrs->fontBold : pAttrs->fontNormal).m_hObject);
    CRect rc(0, 0, 0, 0);
    dc.DrawText(m_strText, -1, &rc, kMeasureFormat);
    const int height = std::max<int>(pAttrs->szImage.cy + 2 * pAttrs->szImageMargin.cy,
                                     rc.Height() + 2 * pAttrs->szTextMargin.cy);
    const int width = pAttrs->szImage.cx + 2 * (pAttrs->szImageMargin.cx + pAttrs->szTextMargin.cx) + rc.Width() +
                      pAttrs->bRibbon * pAttrs->nRibbonWidth + 2;
    lpMIS->itemHeight = static_cast<UINT>(height);
    lpMIS->itemWidth = static_cast<UINT>(width);
}

void CCustMenuItem::DrawItem(LPDRAWITEMSTRUCT lpDIS, DRAWATTRS* pAttrs) {
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    if (pDC == nullptr) return;
    const HDC hdc = pDC->m_hDC;
    CRect rc(lpDIS->rcItem);
    rc.left += pAttrs->nRibbonWidth * pAttrs->bRibbon;

    // The ribbon is painted when the last item of a pass that began with
    // the top item drawn whole is drawn whole.
    const bool entire = lpDIS->itemAction == ODA_DRAWENTIRE;
    if (rc.top == 0 && entire) pAttrs->nDrawnCount = 0;
    ++pAttrs->nDrawnCount;

    const bool selected = (lpDIS->itemState & ODS_SELECTED) != 0;
    const bool grayed = (lpDIS->itemState & ODS_GRAYED) != 0;
    const bool disabled = (lpDIS->itemState & ODS_DISABLED) != 0;
    const bool checked = (lpDIS->itemState & ODS_CHECKED) != 0;
    const bool hasImage = IsImageAvailable(pAttrs) != 0;
    const CSize img = pAttrs->szImage;
    const int columnWidth = img.cx + 2 * pAttrs->szImageMargin.cx;

    CRect column(rc.left + 1, rc.top, rc.left + 1 + columnWidth, rc.bottom);
    if (checked) {
        pDC->DrawEdge(&column, BDR_SUNKENOUTER, BF_RECT);
        column.DeflateRect(1, 1);
        if (!selected && !grayed) {
            pDC->SetBkColor(pAttrs->clrMenu);
            pDC->SetTextColor(pAttrs->clr3DHilight);
            if (CBrush* halftone = CDC::GetHalftoneBrush()) pDC->FillRect(&column, halftone);
        } else {
            pDC->FillSolidRect(&column, pAttrs->clrMenu);
        }
    } else if (!grayed && !disabled) {
        if (selected && hasImage) {
            pDC->DrawEdge(&column, BDR_RAISEDINNER, BF_RECT);
        } else {
            pDC->FillSolidRect(&column, pAttrs->clrMenu);
        }
    }

    const int x = rc.left + pAttrs->szImageMargin.cx + 1;
    const int y = rc.top + rc.Height() / 2 - img.cy / 2;
    if (hasImage && !grayed) {
        ::ImageList_Draw(pAttrs->hImageList, m_nImage, hdc, x, y, ILD_TRANSPARENT);
    } else if (hasImage) {
        if (entire) {
            // The image on white, then the system's embossed look of a
            // disabled picture.
            CDC mem;
            CBitmap picture;
            if (!mem.CreateCompatibleDC(pDC) || !picture.CreateCompatibleBitmap(pDC, img.cx, img.cy)) return;
            {
                const SelectScope sel(mem.m_hDC, picture.m_hObject);
                mem.FillSolidRect(0, 0, img.cx, img.cy, RGB(255, 255, 255));
                ::ImageList_Draw(pAttrs->hImageList, m_nImage, mem.m_hDC, 0, 0, ILD_TRANSPARENT);
            }
            ::DrawStateA(hdc, NULL, NULL, reinterpret_cast<LPARAM>(static_cast<HBITMAP>(picture.m_hObject)), 0, x, y,
                         img.cx, img.cy, DST_BITMAP | DSS_DISABLED);
        }
    } else if (checked) {
        CBrush brush;
        CDC mem;
        if (brush.CreateSolidBrush(grayed ? pAttrs->clr3DShadow : pAttrs->clrMenuText) && mem.CreateCompatibleDC(pDC)) {
            const SelectScope bits(mem.m_hDC, pAttrs->bmpCheck.m_hObject);
            const SelectScope paint(hdc, brush.m_hObject);
            pDC->SetTextColor(RGB(0, 0, 0));
            pDC->SetBkColor(RGB(255, 255, 255));
            pDC->BitBlt(x, y, img.cx, img.cy, &mem, 0, 0, kRopBrushWhereSourceSet);
        }
    }

    if (pAttrs->bRibbon != 0 && pAttrs->nItemCount == pAttrs->nDrawnCount && entire) DrawRibbon(pDC, rc, pAttrs);

    // The highlight starts after the image column when there is an image or
    // a check mark in it, and covers the column as well when there is neither.
    CRect text(rc);
    text.left = rc.left + 1;
    const bool columnUsed = hasImage || checked;
    if (columnUsed) text.left += columnWidth + 1;
    if (!grayed && !disabled) pDC->FillSolidRect(&text, selected ? pAttrs->clrHighlight : pAttrs->clrMenu);
    if (!columnUsed) text.left += columnWidth + 1;
    text.DeflateRect(pAttrs->szTextMargin.cx, pAttrs->szTextMargin.cy);

    const SelectScope font(hdc, (m_bBold ? pAttrs->fontBold : pAttrs->fontNormal).m_hObject);
    pDC->SetBkMode(TRANSPARENT);
    if (!grayed) {
        pDC->SetTextColor(selected ? pAttrs->clrHighlightText : pAttrs->clrMenuText);
        pDC->DrawText(m_strText, -1, &text, kDrawFormat);
    } else if (entire) {
        text.OffsetRect(1, 1);
        pDC->SetTextColor(pAttrs->clr3DHilight);
        pDC->DrawText(m_strText, -1, &text, kDrawFormat);
        text.OffsetRect(-1, -1);
        pDC->SetTextColor(pAttrs->clr3DShadow);
        pDC->DrawText(m_strText, -1, &text, kDrawFormat);
    }
}

// Band i of the gradient has clrRibbonFrom + i * step, the step truncated
// toward zero per channel; only the rest below the last band is
// clrRibbonTo exactly. Two choices of ours:
//   - 0 steps makes no bands, so the whole band is the rest: clrRibbonTo;
//   - bands 0 pixels high are all empty, so they are not painted one by one
//     (a huge step count would otherwise cost a fill per step for nothing).
void CCustMenuItem::DrawRibbon(CDC* pDC, CRect rc, DRAWATTRS* pAttrs) {
    const CRect band(0, 0, pAttrs->nRibbonWidth, rc.bottom);
    const COLORREF from = pAttrs->clrRibbonFrom;
    const COLORREF to = pAttrs->clrRibbonTo;
    if (from == to) {
        pDC->FillSolidRect(&band, from);
    } else {
        const UINT steps = pAttrs->nRibbonSteps;
        const int bandHeight = steps == 0 ? 0 : static_cast<int>(static_cast<float>(band.Height()) / static_cast<float>(steps));
        CRect part(band.left, band.top, band.right, band.top + bandHeight);
        if (bandHeight > 0 && part.top < band.bottom) {
            const long long n = steps;
            const long long dr = (Channel(to, 0) - Channel(from, 0)) / n;
            const long long dg = (Channel(to, 8) - Channel(from, 8)) / n;
            const long long db = (Channel(to, 16) - Channel(from, 16)) / n;
            for (UINT i = 0; i < steps; ++i) {
                part.bottom = std::min<LONG>(part.bottom, band.bottom);
                const COLORREF c = RGB((Channel(from, 0) + i * dr) & 0xFF, (Channel(from, 8) + i * dg) & 0xFF,
                                       (Channel(from, 16) + i * db) & 0xFF);
                pDC->FillSolidRect(&part, c);
                part.OffsetRect(0, bandHeight);
                if (part.top >= band.bottom) break;
            }
        }
        if (part.top < band.bottom) {
            const CRect rest(band.left, part.top, band.right, band.bottom);
            pDC->FillSolidRect(&rest, to);
        }
    }

    if (pAttrs->nRibbonBitmapID != 0) {
        // A bitmap stands on the bottom of the band; one taller than the
        // menu shows its lowest rows.
        CBitmap bitmap;
        BITMAP info;
        if (!ui::LoadResourceBitmap(pAttrs->nRibbonBitmapID, bitmap, info)) return;
        const int h = info.bmHeight;
        const int bottom = rc.bottom;
        DrawTransparentBitmap(pDC, &bitmap, 0, static_cast<UINT>(h < bottom ? bottom - h : 0),
                              static_cast<UINT>(pAttrs->nRibbonWidth), static_cast<UINT>(std::min(h, bottom)), 0,
                              static_cast<UINT>(h < bottom ? 0 : h - bottom));
        return;
    }

    // The text reads upwards from 5 pixels above the band's bottom, in bold
    // type as high as the band is wide less 5 pixels.
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(pAttrs->clrRibbonText);
    CFont font;
    if (!font.CreateFont(pAttrs->nRibbonWidth - 5, 0, 900, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0, "Arial Narrow")) {
        return;
    }
    const SelectScope sel(pDC->m_hDC, font.m_hObject);
    if (!sel.ok()) return;
    CRect textRect(band.left, band.bottom - 5, band.right, band.top);
    const int oldExtra = pDC->SetTextCharacterExtra(1);
    pDC->DrawText(pAttrs->strRibbonText, pAttrs->strRibbonText.GetLength(), &textRect, DT_SINGLELINE | DT_NOCLIP);
    pDC->SetTextCharacterExtra(oldExtra);
}

// A mask composition: the picture's pixels of the transparent colour let the
// destination show through; every other pixel is copied. The caller's
// bitmap is left unselected and with its own pixels.
void CCustMenuItem::DrawTransparentBitmap(CDC* pDC, CBitmap* pBitmap, UINT x, UINT y, UINT cx, UINT cy, UINT xSrc,
                                          UINT ySrc) {
    const int dx = static_cast<int>(x);
    const int dy = static_cast<int>(y);
    const int sx = static_cast<int>(xSrc);
    const int sy = static_cast<int>(ySrc);
    CDC source;
    source.CreateCompatibleDC(pDC);
    const SelectScope sourceSel(source.m_hDC, pBitmap->m_hObject);

    // (cx, cy) in the source's logical units, taken before its mapping mode changes.
    POINT size[2] = {{0, 0}, {static_cast<LONG>(cx), static_cast<LONG>(cy)}};
    source.DPtoLP(size, 2);
    const int w = static_cast<int>(size[1].x - size[0].x);
    const int h = static_cast<int>(size[1].y - size[0].y);

    CDC back, object, mem, save;
    back.CreateCompatibleDC(pDC);
    object.CreateCompatibleDC(pDC);
    mem.CreateCompatibleDC(pDC);
    save.CreateCompatibleDC(pDC);
    CBitmap backBits, objectBits, memBits, saveBits;
    backBits.CreateBitmap(w, h, 1, 1, nullptr);
    objectBits.CreateBitmap(w, h, 1, 1, nullptr);
    memBits.CreateCompatibleBitmap(pDC, w, h);
    saveBits.CreateCompatibleBitmap(pDC, w, h);
    const SelectScope backSel(back.m_hDC, backBits.m_hObject);
    const SelectScope objectSel(object.m_hDC, objectBits.m_hObject);
    const SelectScope memSel(mem.m_hDC, memBits.m_hObject);
    const SelectScope saveSel(save.m_hDC, saveBits.m_hObject);

    source.SetMapMode(pDC->GetMapMode());
    save.BitBlt(0, 0, w, h, &source, sx, sy, SRCCOPY);
    const COLORREF transparent = save.GetPixel(0, 0);
    const COLORREF oldBk = source.SetBkColor(transparent);
    object.BitBlt(0, 0, w, h, &source, sx, sy, SRCCOPY);  // 1 where transparent
    source.SetBkColor(oldBk);
    back.BitBlt(0, 0, w, h, &object, 0, 0, NOTSRCCOPY);
    mem.BitBlt(0, 0, w, h, pDC, dx, dy, SRCCOPY);
    mem.BitBlt(0, 0, w, h, &object, 0, 0, SRCAND);
    source.BitBlt(sx, sy, w, h, &back, 0, 0, SRCAND);
    mem.BitBlt(0, 0, w, h, &source, sx, sy, SRCPAINT);
    pDC->BitBlt(dx, dy, w, h, &mem, 0, 0, SRCCOPY);
    source.BitBlt(sx, sy, w, h, &save, 0, 0, SRCCOPY);
}
