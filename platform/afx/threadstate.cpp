// The per-thread framework state.
#include <afxwin.h>

_AFX_THREAD_STATE* AFXAPI AfxGetThreadState() {
    static thread_local _AFX_THREAD_STATE state;
    return &state;
}
