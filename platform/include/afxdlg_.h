// The framework's dialog base class.
//   CDialog   a window shown modally; OnInitDialog runs when its window is made
#pragma once
//
// Included from afxwin.h. This slice shows no dialog of its own from a
// template resource: CDialog is the base of the common dialogs (afxdlgs.h),
// whose DoModal asks the system's dialog.

#include <afxwnd_.h>

class WINPORT_API CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() noexcept;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL) noexcept;
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL) noexcept;
    ~CDialog() override;

    // Shows the dialog and returns how it was ended. A dialog from a
    // template resource cannot be made in this slice: -1, as for any dialog
    // that could not be created, with ERROR_NOT_SUPPORTED.
    virtual INT_PTR DoModal();
    // Called when the dialog's window has been made, before it is shown;
    // TRUE lets the system set the focus. Does nothing else here.
    virtual BOOL OnInitDialog();

    CWnd* m_pParentWnd;  // not owned
    UINT m_nIDHelp;

protected:
    LPCTSTR m_lpszTemplateName;  // a resource id (MAKEINTRESOURCE) or the caller's text; not owned

    DECLARE_MESSAGE_MAP()
};
