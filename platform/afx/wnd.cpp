// CWnd: the window-handle shell.
#include <afxwin.h>

IMPLEMENT_DYNCREATE(CWnd, CObject)

CWnd::CWnd() noexcept : m_hWnd(NULL) {}

CWnd::~CWnd() = default;
