// Window classes of the framework. For now only the CWnd shell that other
// classes hold and pass around; windows proper arrive with user32. Also the
// application object (afxwinapp.h).
#pragma once

#include <afx.h>
#include <afxwinapp.h>

// Wraps a window handle it does not own (nothing creates or destroys windows
// through it yet).
class WINPORT_API CWnd : public CObject {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() noexcept;
    ~CWnd() override;

    // Call through a pointer known to be non-NULL: unlike the framework's own
    // version this does not answer NULL for a NULL object.
    [[nodiscard]] HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    operator HWND() const noexcept { return m_hWnd; }

    HWND m_hWnd;
};
