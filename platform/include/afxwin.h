// Window classes of the framework: windows with message maps, menus, the
// static control and the per-thread framework state.
#pragma once

#include <afx.h>
#include <afxwnd_.h>
