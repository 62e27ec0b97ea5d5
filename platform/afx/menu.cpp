// CMenu: the menu handle wrapper and its handle map.
#include <afxwin.h>

#include "afx/objmap.h"

namespace {

struct MenuTraits {
    static BOOL IsLive(HMENU h) { return ::IsMenu(h); }
    static void Tie(CMenu* menu, HMENU h) { menu->m_hMenu = h; }
};
using MenuMap = afx::HandleMap<CMenu, HMENU, MenuTraits>;

}  // namespace

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::CMenu() noexcept : m_hMenu(NULL) {}

CMenu::~CMenu() {
    DestroyMenu();
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu) {
    return MenuMap::FromHandle(hMenu);
}

CMenu* PASCAL CMenu::FromHandlePermanent(HMENU hMenu) {
    return MenuMap::Permanent(hMenu);
}

void PASCAL CMenu::DeleteTempMap() {
    MenuMap::DeleteTemporaries();
}

BOOL CMenu::Attach(HMENU hNewMenu) {
    if (hNewMenu == NULL || m_hMenu != NULL) return FALSE;
    m_hMenu = hNewMenu;
    MenuMap::SetPermanent(hNewMenu, this);
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU hMenu = m_hMenu;
    if (hMenu != NULL) MenuMap::RemovePermanent(hMenu, this);
    m_hMenu = NULL;
    return hMenu;
}

BOOL CMenu::CreateMenu() {
    return Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu() {
    return Attach(::CreatePopupMenu());
}

// FALSE when no menu is attached; the object is let go of its handle even
// when the menu was already destroyed as another menu's submenu.
BOOL CMenu::DestroyMenu() {
    if (m_hMenu == NULL) return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
    return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) {
    return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}

UINT CMenu::GetMenuItemCount() const {
    return static_cast<UINT>(::GetMenuItemCount(m_hMenu));
}

UINT CMenu::GetMenuItemID(int nPos) const {
    return ::GetMenuItemID(m_hMenu, nPos);
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    return ::GetMenuState(m_hMenu, nID, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const {
    return ::GetMenuStringA(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    const int length = ::GetMenuStringA(m_hMenu, nIDItem, NULL, 0, nFlags);
    const int got = ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBufferSetLength(length), length + 1, nFlags);
    rString.ReleaseBuffer(got);
    return got;
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    (void)lpRect;  // ignored by the system as well
    return TrackPopupMenuEx(nFlags, x, y, pWnd, NULL);
}

// The framework notes which menu is tracked for which window, so that the
// window's OnMeasureItem can find the menu's object while the call runs.
BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm) {
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    const HWND savedWindow = state->m_hTrackingWindow;
    const HMENU savedMenu = state->m_hTrackingMenu;
    state->m_hTrackingWindow = pWnd != NULL ? pWnd->GetSafeHwnd() : NULL;
    state->m_hTrackingMenu = m_hMenu;
    const BOOL result = ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, state->m_hTrackingWindow, lptpm);
    state->m_hTrackingWindow = savedWindow;
    state->m_hTrackingMenu = savedMenu;
    return result;
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    (void)lpDrawItemStruct;
}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    (void)lpMeasureItemStruct;
}
