// Window classes of the framework: windows with message maps, menus, the
// static control and the per-thread framework state (afxwnd_.h), dialogs
// (afxdlg_.h), and the application object (afxwinapp.h).
#pragma once

#include <afx.h>
#include <afxgdi.h>
#include <afxwinapp.h>
#include <afxwnd_.h>
#include <afxdlg_.h>
