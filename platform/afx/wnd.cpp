// CWnd: window creation and lifetime, the handle map, thin user32 wrappers
// and the default owner-draw handlers; CStatic.
#include <afxwin.h>

#include "afx/objmap.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

namespace {

struct WndTraits {
    static BOOL IsLive(HWND h) { return ::IsWindow(h); }
    static void Tie(CWnd* wnd, HWND h) { wnd->m_hWnd = h; }
};
using WndMap = afx::HandleMap<CWnd, HWND, WndTraits>;

// The framework's own window class, registered on first use for the whole
// process (any module may create windows of it).
const char kAfxWndClass[] = "AfxWnd";

bool RegisterAfxWndClass() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.style = CS_GLOBALCLASS;  // found whatever instance handle a creator passes
        wc.lpfnWndProc = AfxWndProc;
        wc.lpszClassName = kAfxWndClass;
        return ::RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

// Finds, under menu, the (sub)menu whose entries include the command id.
CMenu* FindPopupHoldingId(HMENU hMenu, UINT nID, int depth = 0) {
    if (hMenu == NULL || depth > 32) return NULL;
    const int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = ::GetSubMenu(hMenu, i)) {
            if (CMenu* p = FindPopupHoldingId(sub, nID, depth + 1)) return p;
            if (static_cast<UINT>(reinterpret_cast<UINT_PTR>(sub)) == nID) return CMenu::FromHandlePermanent(hMenu);
        } else if (::GetMenuItemID(hMenu, i) == nID) {
            return CMenu::FromHandlePermanent(hMenu);
        }
    }
    return NULL;
}

}  // namespace

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
END_MESSAGE_MAP()

CWnd::CWnd() noexcept : m_hWnd(NULL), m_pfnSuper(NULL) {}

CWnd::~CWnd() {
    if (m_hWnd != NULL && FromHandlePermanent(m_hWnd) == this) {
        // Destroying the window unties it (WM_NCDESTROY) before it goes.
        ::DestroyWindow(m_hWnd);
        if (m_hWnd != NULL) Detach();
    }
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) {
    return WndMap::FromHandle(hWnd);
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) {
    return WndMap::Permanent(hWnd);
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (hWndNew == NULL || m_hWnd != NULL) return FALSE;
    m_hWnd = hWndNew;
    WndMap::SetPermanent(hWndNew, this);
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != NULL) WndMap::RemovePermanent(hWnd, this);
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!::IsWindow(hWnd) || FromHandlePermanent(hWnd) != NULL || !Attach(hWnd)) return FALSE;
    const auto old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (old != &AfxWndProc) m_pfnSuper = old;
    return TRUE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd == NULL) return NULL;
    if (m_pfnSuper != NULL) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = NULL;
    }
    return Detach();
}

// The names live as long as the process, so the pointers handed out stay
// valid; a class that the module registered before (another copy of this
// table, or an unload and reload) is taken as it is.
LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    // Without an application object the program's own module registers it.
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (hInst == NULL) hInst = ::GetModuleHandleA(NULL);
    char name[128];
    std::snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(hInst), nClassStyle,
                  static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    static std::mutex mutex;
    static std::set<std::string>* const names = new std::set<std::string>;  // outlives static windows
    const std::lock_guard<std::mutex> lock(mutex);
    if (const auto it = names->find(name); it != names->end()) return it->c_str();
    WNDCLASSA wc{};
    if (!::GetClassInfoA(hInst, name, &wc)) {
        wc.style = nClassStyle;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = hInst;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.hIcon = hIcon;
        wc.lpszClassName = name;
        if (::RegisterClassA(&wc) == 0) AfxThrowResourceException();
    }
    return names->insert(name).first->c_str();
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd != NULL) return FALSE;
    if (lpszClassName == NULL) {
        if (!RegisterAfxWndClass()) return FALSE;
        lpszClassName = kAfxWndClass;
    }
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    CWnd* const outer = state->m_pWndInit;
    state->m_pWndInit = this;
    HWND hWnd = ::CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth, nHeight,
                                  hWndParent, nIDorHMenu, AfxGetInstanceHandle(), lpParam);
    const bool tiedDuringCreate = state->m_pWndInit != this;
    state->m_pWndInit = outer;
    if (hWnd == NULL) {
        if (tiedDuringCreate && m_hWnd != NULL) Detach();
        return FALSE;
    }
    // A class with its own procedure never called AfxWndProc: subclass it now.
    if (!tiedDuringCreate) return SubclassWindow(hWnd);
    return m_hWnd == hWnd;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    (void)pContext;
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd != NULL ? pParentWnd->GetSafeHwnd() : NULL,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == NULL) return FALSE;
    HWND hWnd = m_hWnd;
    const bool permanent = FromHandlePermanent(hWnd) == this;
    const BOOL result = ::DestroyWindow(hWnd);
    // A window that was not tied to this object is let go here instead.
    if (!permanent && m_hWnd == hWnd) m_hWnd = NULL;
    return result;
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

void CWnd::GetWindowText(CString& rString) const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    const int got = ::GetWindowTextA(m_hWnd, rString.GetBufferSetLength(length), length + 1);
    rString.ReleaseBuffer(got);
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}

int CWnd::GetWindowTextLength() const {
    return ::GetWindowTextLengthA(m_hWnd);
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
    ::SetWindowTextA(m_hWnd, lpszString);
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    return ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    (void)message;
    (void)wParam;
    (void)lParam;
    (void)pResult;
    return FALSE;
}

void CWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    (void)nIDCtl;
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        if (CMenu* pMenu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem))) {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    } else if (CWnd* pChild = FromHandlePermanent(lpDrawItemStruct->hwndItem)) {
        const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
        if (pChild->OnChildNotify(msg.message, msg.wParam, msg.lParam, NULL)) return;
    }
    Default();
}

// A menu item is measured by the menu holding it: the search starts at the
// menu tracked for this window (the framework keeps it in the thread state).
void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    (void)nIDCtl;
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        const _AFX_THREAD_STATE* state = AfxGetThreadState();
        if (state->m_hTrackingWindow == m_hWnd && state->m_hTrackingMenu != NULL) {
            if (CMenu* pMenu = FindPopupHoldingId(state->m_hTrackingMenu, lpMeasureItemStruct->itemID)) {
                pMenu->MeasureItem(lpMeasureItemStruct);
                return;
            }
        }
    } else {
        HWND hChild = ::GetDlgItem(m_hWnd, static_cast<int>(lpMeasureItemStruct->CtlID));
        if (CWnd* pChild = FromHandlePermanent(hChild)) {
            const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
            if (pChild->OnChildNotify(msg.message, msg.wParam, msg.lParam, NULL)) return;
        }
    }
    Default();
}

LRESULT CWnd::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) {
    (void)nChar;
    (void)nFlags;
    (void)pMenu;
    return Default();
}

int CWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    (void)lpCreateStruct;
    return static_cast<int>(Default());
}

void CWnd::OnDestroy() {
    Default();
}

void CWnd::OnEnable(BOOL bEnable) {
    (void)bEnable;
    Default();
}

void CWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
    (void)pPopupMenu;
    (void)nIndex;
    (void)bSysMenu;
    Default();
}

// ---- CStatic -------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CStatic, CWnd)

BEGIN_MESSAGE_MAP(CStatic, CWnd)
END_MESSAGE_MAP()

CStatic::CStatic() noexcept = default;

CStatic::~CStatic() {
    DestroyWindow();
}

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

HBITMAP CStatic::SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

HBITMAP CStatic::GetBitmap() const {
    return reinterpret_cast<HBITMAP>(::SendMessageA(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

HICON CStatic::SetIcon(HICON hIcon) {
    return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0));
}

HICON CStatic::GetIcon() const {
    return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, STM_GETICON, 0, 0));
}

void CStatic::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    (void)lpDrawItemStruct;
}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    return TRUE;
}
