// TQSetForegroundWindow: the framework window brought to the front.
#include <windows.h>
#include <afxwin.h>

#include "TQTH.h"

// 0 for a NULL window; otherwise what SetForegroundWindow answers for the
// window's handle (a CWnd without a window passes NULL, which fails).
int TQSetForegroundWindow(CWnd* pWnd) {
    if (pWnd == NULL)
        return 0;
    return ::SetForegroundWindow(pWnd->GetSafeHwnd()) ? 1 : 0;
}
