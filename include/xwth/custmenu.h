// Owner-drawn popup menus: images, bold items, check marks and a side ribbon.
//   DRAWATTRS       the colours, fonts, sizes and ribbon of one menu, lent to its items
//   CCustMenuItem   one entry: text, image index, bold flag; measures and draws itself
//   CCustMenu       the popup menu; owns its items, image list, fonts and check mark
//   CTrackMenuWnd   an owner window that routes the menu messages to a CCustMenu
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <afxwin.h>
#include <commctrl.h>

#include <xwth/export.h>

// The member names follow the 8-bit entry points, as the system headers of
// an ANSI build spell them.
#ifndef LoadBitmap
#define LoadBitmap LoadBitmapA
#endif
#ifndef InsertMenuItem
#define InsertMenuItem InsertMenuItemA
#endif

// Filled by the menu and lent to its items on every measure and draw. The
// menu owns the image list, both fonts and the check-mark bitmap. The six
// colours are read from the system once, when the menu is made.
struct XWTH_API DRAWATTRS {
    DRAWATTRS();
    ~DRAWATTRS();
    DRAWATTRS(const DRAWATTRS&) = delete;
    DRAWATTRS& operator=(const DRAWATTRS&) = delete;

    COLORREF clrMenu;           // item background
    COLORREF clrMenuText;       // item text and check mark
    COLORREF clrHighlight;      // selected item's text area
    COLORREF clrHighlightText;  // selected item's text
    COLORREF clr3DHilight;      // light half of embossed text, checked-column pattern
    COLORREF clr3DShadow;       // dark half of embossed text, a grayed item's check mark
    CSize szImageMargin;        // (3, 3) around the image column
    CSize szTextMargin;         // (3, 0) around the text
    int nRibbonWidth;           // pixels; counts only while bRibbon is 1
    UINT nRibbonBitmapID;       // 0: gradient-and-text ribbon
    int nItemCount;             // owner-drawn items added
    int nDrawnCount;            // items drawn since the top item was drawn whole
    CSize szImage;              // (16, 16): one image, and the check mark
    int bRibbon;                // 1: the ribbon is shown
    COLORREF clrRibbonFrom;     // gradient at the top
    COLORREF clrRibbonTo;       // gradient at the bottom
    COLORREF clrRibbonText;
    UINT nRibbonSteps;          // colour bands of the gradient
    HIMAGELIST hImageList;      // NULL, or owned by the menu
    CFont fontNormal;           // the system menu font
    CFont fontBold;             // the same at weight 700
    CBitmap bmpCheck;           // 1-bit check mark of szImage
    CString strRibbonText;
};

// One menu entry. The menu that added it owns it; until then the caller
// does. A client may derive to measure and draw differently.
class XWTH_API CCustMenuItem : public CObject {
public:
    CCustMenuItem(const char* text, int nImage, int bBold);
    ~CCustMenuItem() override;

    void Init(const char* text, int nImage, int bBold);
    // TRUE for an initialised item; applied to the item data of menu messages.
    [[nodiscard]] int IsValid();
    // TRUE when m_nImage names an image of the record's image list.
    [[nodiscard]] int IsImageAvailable(DRAWATTRS* pAttrs);

    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMIS, DRAWATTRS* pAttrs);
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS, DRAWATTRS* pAttrs);
    // The ribbon band from the menu's top to rc.bottom.
    void DrawRibbon(CDC* pDC, CRect rc, DRAWATTRS* pAttrs);
    // Draws the cx x cy part of pBitmap at (xSrc, ySrc) onto pDC at (x, y);
    // the colour of that part's top-left pixel is transparent.
    void DrawTransparentBitmap(CDC* pDC, CBitmap* pBitmap, UINT x, UINT y, UINT cx, UINT cy, UINT xSrc,
                               UINT ySrc);

    DWORD m_nStructSize;  // sizeof(CCustMenuItem) once initialised
    CString m_strText;    // "&" marks the accelerator letter
    int m_nImage;         // < 0: no image
    int m_bBold;
};

// An owner-drawn popup menu. Owns: the menu handle (Create to destructor),
// every item that AppendMenuItem/InsertMenuItem added, the image list from
// the moment it is handed over or made, the fonts and the check bitmap.
// Separators are plain CMenu::AppendMenu(MF_SEPARATOR) entries.
class XWTH_API CCustMenu : public CMenu {
    DECLARE_DYNAMIC(CCustMenu)
public:
    CCustMenu();
    ~CCustMenu() override;

    // The fonts, the check bitmap and the popup handle; FALSE (and no
    // handle) when a font cannot be made. Call once, before adding.
    BOOL Create();
    BOOL AppendMenuItem(UINT nFlags, UINT_PTR nIDNewItem, CCustMenuItem* pItem);
    BOOL InsertMenuItem(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, CCustMenuItem* pItem);
    // An entry with the button's text, control id and enabled state.
    BOOL AppendMenuFromButton(CWnd& button, int nImage);

    // Takes over h (destroying the list held before); FALSE for NULL.
    BOOL SetImages(HIMAGELIST h);
    // A horizontal strip of szImage-wide images, magenta transparent.
    BOOL LoadBitmap(HINSTANCE hInst, const char* name);
    BOOL LoadBitmap(HINSTANCE hInst, UINT id);
    BOOL LoadBitmap(UINT id);
    BOOL LoadBitmap(const char* name);
    // Adds the images of hbm (magenta transparent); the first index, or -1.
    int AddBitmap(HBITMAP hbm);

    // A gradient band with text turned upwards; NULL or "" turns the ribbon off.
    void AttachRibbon(const char* text, DWORD clrFrom, DWORD clrTo, UINT nSteps, DWORD clrText);
    // A bitmap band over the gradient; id 0 or a bitmap that does not load
    // turns the ribbon off.
    void AttachRibbon(UINT nBitmapID, DWORD clrFrom, DWORD clrTo, UINT nSteps);

    // The system tracking, with this menu noted in the thread state so the
    // owner's WM_MEASUREITEM finds it.
    BOOL TrackPopupMenuEx(UINT nFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm);
    // The WM_MENUCHAR answer: MAKELRESULT(position, MNC_EXECUTE) for the
    // first item whose "&" letter is nChar, else 0.
    LRESULT MenuChar(UINT nChar, UINT nFlags);
    // The tracked menu's height: every item as high as the first, 8 pixels
    // per other entry, and the frame. Throws CInvalidArgException when empty.
    int GetMenuHeight();

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

    CObArray m_arrItems;
    DRAWATTRS m_DrawAttrs;
};

// An owner window for tracked CCustMenus: WM_DRAWITEM goes to the menu
// attached to the entry's menu handle, WM_MEASUREITEM to the menu being
// tracked, WM_MENUCHAR to the menu it names.
class XWTH_API CTrackMenuWnd : public CWnd {
public:
    CTrackMenuWnd();
    ~CTrackMenuWnd() override;

    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);

    DECLARE_MESSAGE_MAP()
};
