// The client's open and save dialog.
//   CTrueFileDialog  a file dialog that opens in an existing folder, leaves
//                    the current directory as it found it and returns every
//                    chosen file as a full path
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <afxdlgs.h>

#include <xwth/export.h>

// The framework's file dialog with three additions:
//   - DoModal opens the dialog in a folder that exists: the folder of the
//     proposed name (which is then cut to the bare name), else the record's
//     lpstrInitialDir, else the user's documents folder; a proposed name
//     with '*' in it is cleared;
//   - the process's current directory after DoModal is the one before it,
//     whatever the dialog or the user did;
//   - with OFN_ALLOWMULTISELECT given to the constructor the dialog gets a
//     2048-byte name buffer of its own, and GetFilePaths returns each chosen
//     file as a full path.
// The object owns the name buffer; GetOFN's lpstrFile points into it.
// Everything is logged under the category "XWTH".
class XWTH_API CTrueFileDialog : public CFileDialog {
public:
    // The framework dialog's arguments in its order. A lpszFileName that
    // ends in a backslash names a folder: it is proposed as FOLDER\*.*, so
    // the dialog opens there with an empty name.
    CTrueFileDialog(int bOpenFileDialog, const char* lpszDefExt = NULL, const char* lpszFileName = NULL,
                    DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* lpszFilter = NULL,
                    CWnd* pParentWnd = NULL);
    ~CTrueFileDialog() override;

    // IDOK when the user chose, else what the framework's dialog returns.
    INT_PTR DoModal() override;
    // Empties paths, adds the full path of every chosen file and returns
    // their number; meant for after DoModal returned IDOK. Without
    // OFN_ALLOWMULTISELECT always the one GetPathName.
    virtual int GetFilePaths(CStringArray& paths);

protected:
    BOOL OnInitDialog() override;

    CString m_strInitialDir;   // the folder DoModal opened the dialog in
    CString m_strFileBuffer;   // holds the multi-select name buffer
    char* m_pFileBuffer;       // 2048 bytes of m_strFileBuffer, or NULL without OFN_ALLOWMULTISELECT

    DECLARE_MESSAGE_MAP()
};
