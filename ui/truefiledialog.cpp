// CTrueFileDialog: the framework's file dialog opened in an existing folder,
// with the current directory kept and multiple choices as full paths.
#include <cstring>

#include <TQLog.h>
#include <TQTH.h>
#include <xwth/filedialog.h>

#include "ui/folders.h"

namespace {

const char kCategory[] = "XWTH";
constexpr int kMultiSelectBufferSize = 2048;

}  // namespace

BEGIN_MESSAGE_MAP(CTrueFileDialog, CFileDialog)
END_MESSAGE_MAP()

CTrueFileDialog::CTrueFileDialog(int bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
                                 DWORD dwFlags, const char* lpszFilter, CWnd* pParentWnd)
    : CFileDialog(bOpenFileDialog, lpszDefExt, CheckPath(lpszFileName), dwFlags, lpszFilter, pParentWnd),
      m_pFileBuffer(NULL) {
    if ((dwFlags & OFN_ALLOWMULTISELECT) != 0) {
        m_pFileBuffer = m_strFileBuffer.GetBuffer(kMultiSelectBufferSize);
        std::memset(m_pFileBuffer, 0, kMultiSelectBufferSize);
        // The framework's buffer holds at most _MAX_PATH - 1 bytes and a NUL.
        std::strcpy(m_pFileBuffer, m_ofn.lpstrFile);
        m_ofn.lpstrFile = m_pFileBuffer;
        m_ofn.nMaxFile = kMultiSelectBufferSize;
    }
}

CTrueFileDialog::~CTrueFileDialog() {
    if (m_pFileBuffer != NULL) m_strFileBuffer.ReleaseBuffer(-1);
}

BOOL CTrueFileDialog::OnInitDialog() {
    return CDialog::OnInitDialog();
}

INT_PTR CTrueFileDialog::DoModal() {
    CLogHelper log(kCategory, "CTrueFileDialog::DoModal", true);
    INT_PTR result;
    {
        CChangeCurDir curDir;  // also undoes the system dialog's move to the chosen folder
        Log(kCategory, "CTrueFileDialog::DoModal '%s'\n", m_ofn.lpstrFile != NULL ? m_ofn.lpstrFile : "(null)");
        // From the second call on the record's initial folder is
        // m_strInitialDir itself, which the folder functions empty first.
        const CString strGivenDir(m_ofn.lpstrInitialDir != NULL ? m_ofn.lpstrInitialDir : "");
        if (DirFromPath(m_ofn.lpstrFile, m_strInitialDir) ||
            DirFromDir(m_ofn.lpstrInitialDir != NULL ? static_cast<const char*>(strGivenDir) : NULL,
                       m_strInitialDir) ||
            GetMyDocPath(m_strInitialDir)) {
            curDir.Change(m_strInitialDir);
        }
        // A wildcard is never offered as the file name.
        if (m_ofn.lpstrFile != NULL && std::strchr(m_ofn.lpstrFile, '*') != NULL) m_ofn.lpstrFile[0] = '\0';
        m_ofn.lpstrInitialDir = m_strInitialDir;
        result = CFileDialog::DoModal();
        if (result == IDOK) log.SetGood(true);
    }
    return result;
}

int CTrueFileDialog::GetFilePaths(CStringArray& paths) {
    paths.RemoveAll();
    if ((m_ofn.Flags & OFN_ALLOWMULTISELECT) == 0) {
        paths.Add(GetPathName());
        return static_cast<int>(paths.GetSize());
    }
    const WORD offset = m_ofn.nFileOffset;
    const char* buffer = m_ofn.lpstrFile;
    if (offset != 0 && buffer[offset - 1] != '\0') {
        paths.Add(GetPathName());
        return static_cast<int>(paths.GetSize());
    }
    // The folder, a NUL, each name and its NUL, and an empty name. A buffer
    // whose names run to its end without the empty name ends the list there.
    const CString folder = TQCheckLastSlash(GetPathName());
    const char* const end = buffer + m_ofn.nMaxFile;
    for (const char* name = buffer + offset; name < end && *name != '\0';) {
        const char* nul = static_cast<const char*>(std::memchr(name, '\0', static_cast<size_t>(end - name)));
        if (nul == NULL) break;
        paths.Add(folder + name);
        name = nul + 1;
    }
    return static_cast<int>(paths.GetSize());
}
