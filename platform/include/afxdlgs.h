// The framework's common dialogs.
//   CCommonDialog  base of the dialogs the system provides
//   CFileDialog    the open and save file dialogs
#pragma once

#include <afxwin.h>
#include <commdlg.h>
#include <stdlib.h>

class WINPORT_API CCommonDialog : public CDialog {
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd) noexcept;
    ~CCommonDialog() override;

    DECLARE_MESSAGE_MAP()
};

// The object owns its record's buffers: the name buffer (_MAX_PATH bytes,
// holding the proposed name and then the choice), the title buffer, the
// filter and default extension texts. A caller that points lpstrFile (or
// another buffer) elsewhere through GetOFN keeps that buffer alive for as
// long as the dialog uses it.
//
// The record carries OFN_EXPLORER and OFN_ENABLEHOOK with the framework's
// hook, which ties the object to the system dialog's window for the time of
// DoModal and calls OnInitDialog when that window has been made. A caller's
// own hook set through GetOFN replaces it (OnInitDialog is then not called).
class WINPORT_API CFileDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter: pairs "Name|Patterns|", ending with "|" ("Text
    // (*.txt)|*.txt|All files|*.*||"). dwSize: the record size the system
    // is told (lStructSize), 0 for sizeof(OPENFILENAME).
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = NULL, LPCTSTR lpszFileName = NULL,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = NULL,
                         CWnd* pParentWnd = NULL, DWORD dwSize = 0);
    ~CFileDialog() override;

    [[nodiscard]] OPENFILENAME& GetOFN() noexcept { return m_ofn; }
    [[nodiscard]] const OPENFILENAME& GetOFN() const noexcept { return m_ofn; }

    // IDOK when the user chose, else IDCANCEL (CommDlgExtendedError tells a
    // failure from a cancel).
    INT_PTR DoModal() override;

    // lpstrFile up to its first NUL: the chosen file's full path, or the
    // folder of a multiple choice.
    [[nodiscard]] CString GetPathName() const;
    // The name after the last separator of GetPathName, and its extension
    // after the last dot ("" when it has none).
    [[nodiscard]] CString GetFileName() const;
    [[nodiscard]] CString GetFileExt() const;

    OPENFILENAME m_ofn;

protected:
    BOOL m_bOpenFileDialog;
    CString m_strFilter;  // the filter with each '|' made a NUL
    CString m_strDefExt;
    char m_szFileTitle[64];
    char m_szFileName[_MAX_PATH];

    DECLARE_MESSAGE_MAP()
};
