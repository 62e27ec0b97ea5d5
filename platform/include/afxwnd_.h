// The framework's window and menu classes and the per-thread framework state.
//   CCmdTarget         root of the classes with message maps; command routing
//   CWnd               a window handle with message-map dispatch
//   CMenu              a menu handle; owner-drawn items call DrawItem/MeasureItem
//   CStatic            the static control
//   _AFX_THREAD_STATE  what the framework keeps per thread (tracked menu, last message)
#pragma once
//
// Handle maps. A CWnd or CMenu that Attach (or CreateEx, SubclassWindow)
// tied to a handle is found again by FromHandlePermanent and by FromHandle
// on the same thread; the caller owns that object. FromHandle of any other
// handle answers a temporary object that the framework owns: it wraps the
// handle without owning it, lives at least until its handle is destroyed,
// and must not be kept beyond the message being handled.

#include <afx.h>
#include <afxmsg_.h>

#define afx_msg
#ifndef PASCAL
#define PASCAL
#endif

struct CCreateContext;

class WINPORT_API CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() noexcept;
    ~CCmdTarget() override;

    // Calls the ON_COMMAND handler of the message map chain whose id range
    // holds nID and whose code is nCode; FALSE when there is none.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

protected:
    static const AFX_MSGMAP* AFXAPI GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// Owns its window when CreateEx made it or Attach/SubclassWindow tied it:
// the destructor destroys a window that is still there. WM_NCDESTROY unties
// the object and calls PostNcDestroy, where a heap-allocated window object
// may delete itself.
class WINPORT_API CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() noexcept;
    ~CWnd() override;

    // Call through a pointer known to be non-NULL: unlike the framework's own
    // version this does not answer NULL for a NULL object.
    [[nodiscard]] HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    operator HWND() const noexcept { return m_hWnd; }

    [[nodiscard]] static CWnd* PASCAL FromHandle(HWND hWnd);
    [[nodiscard]] static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Routes an existing window's messages through this object's message map.
    BOOL SubclassWindow(HWND hWnd);
    HWND UnsubclassWindow();

    // A NULL class name is the framework's own window class. Windows of
    // other classes (BUTTON, STATIC...) are subclassed once made, so their
    // WM_NCCREATE and WM_CREATE do not pass through the message map.
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                          int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                          LPVOID lpParam = NULL);
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL);
    virtual BOOL DestroyWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void GetWindowText(CString& rString) const;
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    [[nodiscard]] int GetWindowTextLength() const;
    void SetWindowText(LPCTSTR lpszString);
    BOOL EnableWindow(BOOL bEnable = TRUE);
    [[nodiscard]] BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow);
    [[nodiscard]] int GetDlgCtrlID() const;
    [[nodiscard]] CWnd* GetParent() const;
    [[nodiscard]] CWnd* GetDlgItem(int nID) const;

    // The default procedure's answer to the message being handled.
    LRESULT Default();

    // Default handlers. OnDrawItem gives a menu entry to the CMenu attached
    // to its menu handle and a control's to the control's object
    // (OnChildNotify); OnMeasureItem finds the menu holding the item from the
    // menu being tracked for this window. Anything else goes to Default().
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    HWND m_hWnd;

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // TRUE (and *pResult) when the message map handled the message.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // A control's chance to handle what its parent was sent about it
    // (WM_DRAWITEM, WM_MEASUREITEM); TRUE when handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void PostNcDestroy();

    WNDPROC m_pfnSuper;  // the procedure a subclassed window had

    friend LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// The window procedure of the framework's window class; it delivers every
// message to the window's CWnd.
WINPORT_API LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// The name of a window class of the calling module with this style, cursor,
// background brush and icon, registered on first use ("Afx:..." names, the
// same name for the same four values). CWnd::CreateEx routes its windows
// through the framework. Throws CResourceException when the class cannot
// be registered.
WINPORT_API LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = 0, HBRUSH hbrBackground = 0,
                                               HICON hIcon = 0);
WINPORT_API LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// Owns its menu once attached: the destructor destroys it (and with it the
// submenus still in it). DrawItem and MeasureItem do nothing here; a class
// that adds owner-drawn items overrides them.
class WINPORT_API CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu() noexcept;
    ~CMenu() override;

    [[nodiscard]] HMENU GetSafeHmenu() const noexcept { return m_hMenu; }
    operator HMENU() const noexcept { return GetSafeHmenu(); }

    [[nodiscard]] static CMenu* PASCAL FromHandle(HMENU hMenu);
    [[nodiscard]] static CMenu* PASCAL FromHandlePermanent(HMENU hMenu);
    // Frees this thread's temporary CMenu objects (none may be in use).
    static void PASCAL DeleteTempMap();
    BOOL Attach(HMENU hNewMenu);
    HMENU Detach();

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    [[nodiscard]] UINT GetMenuItemCount() const;
    [[nodiscard]] UINT GetMenuItemID(int nPos) const;
    [[nodiscard]] UINT GetMenuState(UINT nID, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    [[nodiscard]] CMenu* GetSubMenu(int nPos) const;
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = NULL);
    BOOL TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm);

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

    HMENU m_hMenu;
};

class WINPORT_API CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() noexcept;
    ~CStatic() override;

    using CWnd::Create;
    virtual BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xffff);

    HBITMAP SetBitmap(HBITMAP hBitmap);
    [[nodiscard]] HBITMAP GetBitmap() const;
    HICON SetIcon(HICON hIcon);
    [[nodiscard]] HICON GetIcon() const;

    // The drawing of an SS_OWNERDRAW control; does nothing here.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    DECLARE_MESSAGE_MAP()
};

// One per thread, made on first use.
class WINPORT_API _AFX_THREAD_STATE {
public:
    _AFX_THREAD_STATE() = default;
    _AFX_THREAD_STATE(const _AFX_THREAD_STATE&) = delete;
    _AFX_THREAD_STATE& operator=(const _AFX_THREAD_STATE&) = delete;

    // The owner window and menu of the popup menu being tracked through
    // CMenu::TrackPopupMenuEx (or a class that tracks like it), else NULL.
    HWND m_hTrackingWindow = NULL;
    HMENU m_hTrackingMenu = NULL;
    // The message being handled; CWnd::Default passes it on.
    MSG m_lastSentMsg{};
    // The object whose window CWnd::CreateEx is making.
    CWnd* m_pWndInit = NULL;
};

[[nodiscard]] WINPORT_API _AFX_THREAD_STATE* AFXAPI AfxGetThreadState();
