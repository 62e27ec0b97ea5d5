// Message maps: CCmdTarget, dispatch through CWnd::OnWndMsg, and the
// framework's window procedure.
#include <afxwin.h>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() noexcept = default;
CCmdTarget::~CCmdTarget() = default;

// The root of every chain: no entries, no base.
const AFX_MSGMAP* AFXAPI CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

namespace {

// The first entry for a window message (or a command id with its code),
// searched from the most derived class's table up.
const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id) {
    for (; map != nullptr; map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage == message && e->nCode == code && e->nID <= id && id <= e->nLastID) return e;
        }
    }
    return nullptr;
}

// The entry's signature tag names the type the member was stored from, so
// converting back gives the original member pointer.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
#endif
template <class F>
F As(AFX_PMSG pfn) {
    return reinterpret_cast<F>(pfn);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

}  // namespace

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) {
    (void)pExtra;
    (void)pHandlerInfo;
    const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (e == nullptr) return FALSE;
    (this->*(e->pfn))();
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), NULL, NULL);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT result = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        if (pResult != NULL) *pResult = 1;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), message, 0, 0);
    if (e == nullptr) return FALSE;
    switch (e->nSig) {
    case AfxSig_vv:
        (this->*As<void (CWnd::*)()>(e->pfn))();
        break;
    case AfxSig_lwl:
        result = (this->*As<LRESULT (CWnd::*)(WPARAM, LPARAM)>(e->pfn))(wParam, lParam);
        break;
    case AfxSig_vOWNER:
        if (message == WM_DRAWITEM) {
            (this->*As<void (CWnd::*)(int, LPDRAWITEMSTRUCT)>(e->pfn))(static_cast<int>(wParam),
                                                                        reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        } else {
            (this->*As<void (CWnd::*)(int, LPMEASUREITEMSTRUCT)>(e->pfn))(
                static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        }
        result = TRUE;
        break;
    case AfxSig_lwwM:
        result = (this->*As<LRESULT (CWnd::*)(UINT, UINT, CMenu*)>(e->pfn))(
            LOWORD(wParam), HIWORD(wParam), CMenu::FromHandle(reinterpret_cast<HMENU>(lParam)));
        break;
    case AfxSig_is:
        result = (this->*As<int (CWnd::*)(LPCREATESTRUCT)>(e->pfn))(reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case AfxSig_vb:
        (this->*As<void (CWnd::*)(BOOL)>(e->pfn))(static_cast<BOOL>(wParam));
        break;
    case AfxSig_vMwb:
        (this->*As<void (CWnd::*)(CMenu*, UINT, BOOL)>(e->pfn))(
            CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), HIWORD(lParam));
        break;
    default:
        return FALSE;
    }
    if (pResult != NULL) *pResult = result;
    return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != NULL) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

// The message being handled is kept for Default() and put back afterwards,
// so nested sends (a handler that sends another message) each see their own.
LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    const MSG saved = state->m_lastSentMsg;
    state->m_lastSentMsg.hwnd = hWnd;
    state->m_lastSentMsg.message = nMsg;
    state->m_lastSentMsg.wParam = wParam;
    state->m_lastSentMsg.lParam = lParam;
    LRESULT result;
    try {
        result = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (...) {
        state->m_lastSentMsg = saved;
        throw;
    }
    state->m_lastSentMsg = saved;
    if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
        pWnd->Detach();
        pWnd->m_pfnSuper = NULL;
        pWnd->PostNcDestroy();
    }
    return result;
}

// The first message of a window being made by CWnd::CreateEx ties it to its
// object; a window of this class that no object made gets the default
// procedure.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL) {
        _AFX_THREAD_STATE* state = AfxGetThreadState();
        pWnd = state->m_pWndInit;
        if (pWnd == NULL) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
        state->m_pWndInit = NULL;
        pWnd->Attach(hWnd);
    }
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}
