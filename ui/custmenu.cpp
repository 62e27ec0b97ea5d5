// CCustMenu: the owner-drawn popup menu, its items' bookkeeping, its image
// list and ribbon settings, the accelerator search and the height query;
// CTrackMenuWnd, the owner window that routes the menu messages.
//
// Ownership, the one contract every path here keeps: an item belongs to the
// menu once the system call that added it succeeded, and stays the caller's
// when the addition fails (AppendMenuFromButton's own allocation excepted:
// nobody else could free it, so it is deleted there). The image list is the
// menu's from the moment it is handed over or made.
#include <xwth/custmenu.h>

#include "ui/resourcebitmap.h"

#include <cstddef>
#include <cstring>
#include <memory>

IMPLEMENT_DYNAMIC(CCustMenu, CMenu)

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// The check mark, two bytes per row from the top, leftmost pixel in the
// high bit of a row's first byte.
const BYTE kCheckPattern[32] = {
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // rows 0-4
    0x00, 0x10, 0x00, 0x30, 0x04, 0x60, 0x06, 0xC0, 0x03, 0x80, 0x01, 0x00,  // rows 5-10
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // rows 11-15
};

// The NONCLIENTMETRICS layout without its last member, iPaddedBorderWidth:
// the size every system version accepts.
constexpr UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);

CCustMenuItem* ItemFromData(ULONG_PTR data) {
    auto* item = reinterpret_cast<CCustMenuItem*>(data);
    return item != nullptr && item->IsValid() ? item : nullptr;
}

// Keeps pItem once add() succeeded. The array slot is made before the
// system call, so that running out of memory cannot leave the system menu
// pointing at an item nobody owns.
template <class Add>
BOOL AddOwnedItem(CObArray& items, int& count, CCustMenuItem* pItem, Add add) {
    const INT_PTR slot = items.Add(pItem);
    if (!add()) {
        items.RemoveAt(slot);
        return FALSE;
    }
    ++count;
    return TRUE;
}

}  // namespace

// ---- DRAWATTRS ---------------------------------------------------------------------

DRAWATTRS::DRAWATTRS()
    : clrMenu(::GetSysColor(COLOR_MENU)),
      clrMenuText(::GetSysColor(COLOR_MENUTEXT)),
      clrHighlight(::GetSysColor(COLOR_HIGHLIGHT)),
      clrHighlightText(::GetSysColor(COLOR_HIGHLIGHTTEXT)),
      clr3DHilight(::GetSysColor(COLOR_3DHILIGHT)),
      clr3DShadow(::GetSysColor(COLOR_3DSHADOW)),
      szImageMargin(3, 3),
      szTextMargin(3, 0),
      nRibbonWidth(0),
      nRibbonBitmapID(0),
      nItemCount(0),
      nDrawnCount(0),
      szImage(16, 16),
      bRibbon(0),
      clrRibbonFrom(0),
      clrRibbonTo(0),
      clrRibbonText(0),
      nRibbonSteps(0),
      hImageList(NULL) {}

DRAWATTRS::~DRAWATTRS() = default;

// ---- CCustMenu -----------------------------------------------------------------------

CCustMenu::CCustMenu() = default;

// An item added twice (the system menu then holds two entries with the same
// item data) sits twice in m_arrItems; it is deleted once.
CCustMenu::~CCustMenu() {
    const INT_PTR n = m_arrItems.GetSize();
    for (INT_PTR i = 0; i < n; ++i) {
        CObject* p = m_arrItems.GetAt(i);
        if (p == nullptr) continue;
        bool earlier = false;
        for (INT_PTR j = 0; j < i && !earlier; ++j) earlier = m_arrItems.GetAt(j) == p;
        if (earlier) continue;
        auto* item = static_cast<CCustMenuItem*>(p);
        if (item->IsValid()) delete item;
    }
    if (m_DrawAttrs.hImageList != NULL) ::ImageList_Destroy(m_DrawAttrs.hImageList);
    m_DrawAttrs.hImageList = NULL;
    m_DrawAttrs.strRibbonText.Empty();
    m_DrawAttrs.bmpCheck.DeleteObject();
    m_DrawAttrs.fontBold.DeleteObject();
    m_DrawAttrs.fontNormal.DeleteObject();
    m_arrItems.RemoveAll();
    DestroyMenu();
}

// A second call finds the handle or the fonts there and changes nothing.
BOOL CCustMenu::Create() {
    if (m_hMenu != NULL || m_DrawAttrs.fontNormal.m_hObject != NULL) return FALSE;
    NONCLIENTMETRICSA ncm;
    std::memset(&ncm, 0, sizeof ncm);
    ncm.cbSize = kNonClientMetricsSize;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
    LOGFONTA lf = ncm.lfMenuFont;
    if (!m_DrawAttrs.fontNormal.CreateFontIndirect(&lf)) return FALSE;
    lf.lfWeight = FW_BOLD;
    if (!m_DrawAttrs.fontBold.CreateFontIndirect(&lf)) return FALSE;
    m_DrawAttrs.bmpCheck.CreateBitmap(m_DrawAttrs.szImage.cx, m_DrawAttrs.szImage.cy, 1, 1, kCheckPattern);
    HMENU hMenu = ::CreatePopupMenu();
    if (!Attach(hMenu)) {
        if (hMenu != NULL) ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CCustMenu::AppendMenuItem(UINT nFlags, UINT_PTR nIDNewItem, CCustMenuItem* pItem) {
    if (pItem == nullptr || !pItem->IsValid()) return FALSE;
    if ((nFlags & MF_POPUP) != 0) {
        // A popup with nothing selectable is shown grayed. The state of a
        // popup entry in the submenu carries its item count from bit 8 on,
        // so one of 8 to 15 entries (bit 11) reads as a separator here.
        const HMENU hSub = reinterpret_cast<HMENU>(nIDNewItem);
        const int n = ::GetMenuItemCount(hSub);
        bool selectable = false;
        for (int i = 0; i < n && !selectable; ++i) {
            const UINT state = ::GetMenuState(hSub, static_cast<UINT>(i), MF_BYPOSITION);
            selectable = (state & (MF_GRAYED | MF_SEPARATOR)) == 0;
        }
        if (!selectable) nFlags |= MF_GRAYED;
    }
    return AddOwnedItem(m_arrItems, m_DrawAttrs.nItemCount, pItem, [&] {
        return ::AppendMenuA(m_hMenu, nFlags | MF_OWNERDRAW, nIDNewItem, reinterpret_cast<LPCSTR>(pItem));
    });
}

// No popup graying here, and the item goes to the end of m_arrItems
// wherever it lands in the menu.
BOOL CCustMenu::InsertMenuItem(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, CCustMenuItem* pItem) {
    if (pItem == nullptr || !pItem->IsValid()) return FALSE;
    return AddOwnedItem(m_arrItems, m_DrawAttrs.nItemCount, pItem, [&] {
        return ::InsertMenuA(m_hMenu, nPosition, nFlags | MF_OWNERDRAW, nIDNewItem, reinterpret_cast<LPCSTR>(pItem));
    });
}

// The item made here has no other owner: when the append fails (or
// throws) it is deleted before returning.
BOOL CCustMenu::AppendMenuFromButton(CWnd& button, int nImage) {
    CString text;
    button.GetWindowText(text);
    const UINT flags = button.IsWindowEnabled() ? 0 : MF_GRAYED;
    std::unique_ptr<CCustMenuItem> item(new CCustMenuItem(text, nImage, 0));
    const auto id = static_cast<UINT_PTR>(::GetWindowLongPtrA(button.GetSafeHwnd(), GWLP_ID));
    if (!AppendMenuItem(flags, id, item.get())) return FALSE;
    item.release();
    return TRUE;
}

// Handing over the list the menu already holds keeps it (destroying it
// would leave the menu with a dead list).
BOOL CCustMenu::SetImages(HIMAGELIST h) {
    if (m_DrawAttrs.hImageList != NULL && m_DrawAttrs.hImageList != h) ::ImageList_Destroy(m_DrawAttrs.hImageList);
    m_DrawAttrs.hImageList = h;
    return h != NULL;
}

BOOL CCustMenu::LoadBitmap(HINSTANCE hInst, const char* name) {
    return SetImages(::ImageList_LoadImageA(hInst, name, m_DrawAttrs.szImage.cx, 0, kMagenta, IMAGE_BITMAP, 0));
}

BOOL CCustMenu::LoadBitmap(HINSTANCE hInst, UINT id) {
    return LoadBitmap(hInst, MAKEINTRESOURCEA(LOWORD(id)));
}

BOOL CCustMenu::LoadBitmap(UINT id) {
    return LoadBitmap(::AfxGetInstanceHandle(), id);
}

BOOL CCustMenu::LoadBitmap(const char* name) {
    return LoadBitmap(::AfxGetInstanceHandle(), name);
}

int CCustMenu::AddBitmap(HBITMAP hbm) {
    if (m_DrawAttrs.hImageList == NULL) {
        m_DrawAttrs.hImageList =
            ::ImageList_Create(m_DrawAttrs.szImage.cx, m_DrawAttrs.szImage.cy, ILC_MASK | ILC_COLOR4, 0, 1);
        if (m_DrawAttrs.hImageList == NULL) return -1;
    }
    return ::ImageList_AddMasked(m_DrawAttrs.hImageList, hbm, kMagenta);
}

void CCustMenu::AttachRibbon(const char* text, DWORD clrFrom, DWORD clrTo, UINT nSteps, DWORD clrText) {
    if (text == nullptr || *text == '\0') {
        m_DrawAttrs.bRibbon = 0;
        return;
    }
    m_DrawAttrs.nRibbonBitmapID = 0;
    m_DrawAttrs.nRibbonWidth = 30;
    m_DrawAttrs.clrRibbonFrom = clrFrom;
    m_DrawAttrs.clrRibbonTo = clrTo;
    m_DrawAttrs.nRibbonSteps = nSteps;
    m_DrawAttrs.clrRibbonText = clrText;
    m_DrawAttrs.strRibbonText = text;
    m_DrawAttrs.bRibbon = 1;
}

// The bitmap is loaded here only for its width; the drawing loads it again.
void CCustMenu::AttachRibbon(UINT nBitmapID, DWORD clrFrom, DWORD clrTo, UINT nSteps) {
    m_DrawAttrs.bRibbon = 0;
    if (nBitmapID == 0) return;
    CBitmap bitmap;
    BITMAP info;
    if (!ui::LoadResourceBitmap(nBitmapID, bitmap, info)) return;
    m_DrawAttrs.bRibbon = 1;
    m_DrawAttrs.nRibbonWidth = info.bmWidth;
    m_DrawAttrs.nRibbonBitmapID = nBitmapID;
    m_DrawAttrs.nRibbonSteps = nSteps;
    m_DrawAttrs.clrRibbonFrom = clrFrom;
    m_DrawAttrs.clrRibbonTo = clrTo;
}

BOOL CCustMenu::TrackPopupMenuEx(UINT nFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm) {
    // Puts the thread state back on every exit, also when a handler throws
    // through the menu loop.
    struct Restore {
        _AFX_THREAD_STATE* state;
        HWND window;
        HMENU menu;
        ~Restore() {
            state->m_hTrackingWindow = window;
            state->m_hTrackingMenu = menu;
        }
    };
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    const Restore restore{state, state->m_hTrackingWindow, state->m_hTrackingMenu};
    state->m_hTrackingWindow = pWnd != nullptr ? pWnd->GetSafeHwnd() : NULL;
    state->m_hTrackingMenu = m_hMenu;
    return ::TrackPopupMenuEx(m_hMenu, nFlags, x, y, state->m_hTrackingWindow, lptpm);
}

// Positions count the separators (GetMenuItemID 0) the system expects;
// items are taken from m_arrItems in the order they were added. Only an
// "&" letter matches, compared after the framework's multibyte upper-casing.
LRESULT CCustMenu::MenuChar(UINT nChar, UINT nFlags) {
    (void)nFlags;
    const char keyText[2] = {static_cast<char>(nChar & 0xFF), '\0'};
    if (!IsKindOf(RUNTIME_CLASS(CCustMenu))) return 0;
    const INT_PTR items = m_arrItems.GetSize();
    if (items == 0) return 0;
    CString key(keyText);
    key.MakeUpper();
    const char wanted = key.IsEmpty() ? '\0' : key[0];
    int separators = 0;
    for (int p = 0;;) {
        if (::GetMenuItemID(m_hMenu, p) == 0) {
            ++separators;
        } else if (const auto* item = static_cast<const CCustMenuItem*>(m_arrItems.GetAt(p - separators))) {
            CString text(item->m_strText);
            text.MakeUpper();
            const int amp = text.Find('&');
            if (amp >= 0 && static_cast<const char*>(text)[amp + 1] == wanted) {
                return MAKELRESULT(p, MNC_EXECUTE);
            }
        }
        ++p;
        if (p - separators >= items) break;
    }
    return MNC_IGNORE;
}

int CCustMenu::GetMenuHeight() {
    const int cyFrame = ::GetSystemMetrics(SM_CYFRAME);
    const INT_PTR items = m_arrItems.GetSize();
    const int others = ::GetMenuItemCount(m_hMenu) - static_cast<int>(items);
    if (items == 0) AfxThrowInvalidArgException();
    MEASUREITEMSTRUCT mis;
    std::memset(&mis, 0, sizeof mis);
    auto* first = static_cast<CCustMenuItem*>(m_arrItems.GetAt(0));
    if (first != nullptr && first->IsValid()) first->MeasureItem(&mis, &m_DrawAttrs);
    return static_cast<int>(items) * static_cast<int>(mis.itemHeight) + 2 * (cyFrame + 4 * others);
}

void CCustMenu::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (CCustMenuItem* item = ItemFromData(lpDrawItemStruct->itemData)) item->DrawItem(lpDrawItemStruct, &m_DrawAttrs);
}

void CCustMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (CCustMenuItem* item = ItemFromData(lpMeasureItemStruct->itemData)) {
        item->MeasureItem(lpMeasureItemStruct, &m_DrawAttrs);
    }
}

// ---- CTrackMenuWnd ---------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTrackMenuWnd, CWnd)
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_MENUCHAR()
END_MESSAGE_MAP()

CTrackMenuWnd::CTrackMenuWnd() = default;
CTrackMenuWnd::~CTrackMenuWnd() = default;

// Items are measured by the menu being tracked, a submenu's items too: the
// system names no menu in WM_MEASUREITEM.
void CTrackMenuWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        CMenu* pMenu = CMenu::FromHandle(AfxGetThreadState()->m_hTrackingMenu);
        if (pMenu != nullptr && pMenu->IsKindOf(RUNTIME_CLASS(CCustMenu))) {
            static_cast<CCustMenu*>(pMenu)->MeasureItem(lpMeasureItemStruct);
            return;
        }
    }
    CWnd::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

LRESULT CTrackMenuWnd::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) {
    if (pMenu != nullptr && pMenu->IsKindOf(RUNTIME_CLASS(CCustMenu))) {
        return static_cast<CCustMenu*>(pMenu)->MenuChar(nChar, nFlags);
    }
    return Default();
}
