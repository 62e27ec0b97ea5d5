// Message maps: the records behind BEGIN_MESSAGE_MAP and the ON_ entry macros.
#pragma once
//
// A class with DECLARE_MESSAGE_MAP() gets a static table of entries, chained
// to its base class's table. CWnd::OnWndMsg walks the chain from the most
// derived class up and calls the first entry for the message, converting
// wParam and lParam by the entry's signature (AfxSig_*).
//
//   BEGIN_MESSAGE_MAP(CMyWnd, CWnd)
//       ON_WM_DRAWITEM()
//       ON_WM_MENUCHAR()
//       ON_COMMAND(ID_OPEN, OnOpen)
//   END_MESSAGE_MAP()

#include <afxdefs.h>

class CCmdTarget;
class CWnd;
class CMenu;

// A member function of any CCmdTarget; the entry's signature says which.
typedef void (CCmdTarget::*AFX_PMSG)();

enum AfxSig : UINT_PTR {
    AfxSig_end = 0,
    AfxSig_vv,        // void ()                              ON_COMMAND, WM_DESTROY, WM_NCDESTROY
    AfxSig_lwl,       // LRESULT (WPARAM, LPARAM)              ON_MESSAGE
    AfxSig_vOWNER,    // void (int, LPxxxITEMSTRUCT), answers TRUE   WM_DRAWITEM, WM_MEASUREITEM
    AfxSig_lwwM,      // LRESULT (UINT, UINT, CMenu*)          WM_MENUCHAR
    AfxSig_is,        // int (LPCREATESTRUCT)                  WM_CREATE
    AfxSig_vb,        // void (BOOL)                           WM_ENABLE
    AfxSig_vMwb,      // void (CMenu*, UINT, BOOL)             WM_INITMENUPOPUP
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;   // WM_ message, 0 ends the table
    UINT nCode;      // notification code of WM_COMMAND entries
    UINT nID;        // first control or command id, 0 for window messages
    UINT nLastID;    // last id of a range
    UINT_PTR nSig;   // AfxSig_*
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (AFXAPI* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Leaves the class in protected access, as the framework's macro does.
#define DECLARE_MESSAGE_MAP()                                \
protected:                                                   \
    static const AFX_MSGMAP* AFXAPI GetThisMessageMap();     \
    const AFX_MSGMAP* GetMessageMap() const override;

// The table is a function-local static, built on first use.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                 \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }          \
    const AFX_MSGMAP* AFXAPI theClass::GetThisMessageMap() {                                   \
        using ThisClass [[maybe_unused]] = theClass;                                          \
        using TheBaseClass [[maybe_unused]] = baseClass;                                      \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                      \
        {0, 0, 0, 0, AfxSig_end, static_cast<AFX_PMSG>(nullptr)}};                             \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
        return &messageMap;                                                                    \
    }

// The member is first converted to the CWnd (or CCmdTarget) signature, so a
// handler with the wrong parameters does not compile; only then is it stored
// as the untyped AFX_PMSG that dispatch converts back.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
#endif
template <class F>
inline AFX_PMSG AfxToPmsg_(F f) noexcept {
    return reinterpret_cast<AFX_PMSG>(f);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#define AFX_WND_PMSG_(type, member) AfxToPmsg_(static_cast<type>(member))

#define ON_WM_DRAWITEM()                                                              \
    {WM_DRAWITEM, 0, 0, 0, AfxSig_vOWNER,                                             \
     AFX_WND_PMSG_(void (CWnd::*)(int, LPDRAWITEMSTRUCT), &ThisClass::OnDrawItem)},
#define ON_WM_MEASUREITEM()                                                           \
    {WM_MEASUREITEM, 0, 0, 0, AfxSig_vOWNER,                                          \
     AFX_WND_PMSG_(void (CWnd::*)(int, LPMEASUREITEMSTRUCT), &ThisClass::OnMeasureItem)},
#define ON_WM_MENUCHAR()                                                              \
    {WM_MENUCHAR, 0, 0, 0, AfxSig_lwwM,                                               \
     AFX_WND_PMSG_(LRESULT (CWnd::*)(UINT, UINT, CMenu*), &ThisClass::OnMenuChar)},
#define ON_WM_CREATE()                                                                \
    {WM_CREATE, 0, 0, 0, AfxSig_is,                                                   \
     AFX_WND_PMSG_(int (CWnd::*)(LPCREATESTRUCT), &ThisClass::OnCreate)},
#define ON_WM_DESTROY()                                                               \
    {WM_DESTROY, 0, 0, 0, AfxSig_vv, AFX_WND_PMSG_(void (CWnd::*)(), &ThisClass::OnDestroy)},
#define ON_WM_ENABLE()                                                                \
    {WM_ENABLE, 0, 0, 0, AfxSig_vb, AFX_WND_PMSG_(void (CWnd::*)(BOOL), &ThisClass::OnEnable)},
#define ON_WM_INITMENUPOPUP()                                                         \
    {WM_INITMENUPOPUP, 0, 0, 0, AfxSig_vMwb,                                          \
     AFX_WND_PMSG_(void (CWnd::*)(CMenu*, UINT, BOOL), &ThisClass::OnInitMenuPopup)},
#define ON_MESSAGE(message, memberFxn)                                                \
    {message, 0, 0, 0, AfxSig_lwl,                                                    \
     AFX_WND_PMSG_(LRESULT (CWnd::*)(WPARAM, LPARAM), &ThisClass::memberFxn)},
#define ON_COMMAND(id, memberFxn)                                                     \
    {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), AfxSig_vv,          \
     AFX_WND_PMSG_(void (CCmdTarget::*)(), &ThisClass::memberFxn)},
