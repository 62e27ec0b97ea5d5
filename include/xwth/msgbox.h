// Message boxes titled with the product name, resource texts by id, and the
// foreground switch.
//   ExtText                 a resource text, kept in a ring of 32
//   T0MessageBoxTitleSetup  the application name and the maker's-name substitution
//   T0MessageBox            a message box in four forms
//   T0SetForegroundWindow   brings a window to the front
#pragma once

#include <afx.h>
#include <afxwin.h>

#include <xwth/export.h>

// The string nID from the library's resource manager (module id 3 preferred,
// substitutions applied), "" when no module has it. The pointer stays valid
// for the next 31 calls: the texts are kept in a ring of 32 strings. The last
// two arguments are not used.
XWTH_API const char* ExtText(UINT nID, int nReserved = 0, HINSTANCE hReserved = NULL);

// Makes pszTitle the framework's application name (unless it is empty) and,
// unless it begins with the maker's name "Corvantis", the text that
// "Corvantis" reads as in every string loaded afterwards.
XWTH_API void T0MessageBoxTitleSetup(const char* pszTitle);
XWTH_API void T0MessageBoxTitleSetup(int nID);

// Shows the text, with "Corvantis" replaced by the product name
// (gszProgramName) and 36 blanks appended, titled with the product name;
// returns what MessageBoxA returns. The CWnd forms use the window's handle,
// or no owner for NULL; the UINT forms take the text from ExtText.
XWTH_API int T0MessageBox(HWND hWnd, const char* pszText, UINT nType);
XWTH_API int T0MessageBox(HWND hWnd, UINT nID, UINT nType);
XWTH_API int T0MessageBox(CWnd* pWnd, const char* pszText, UINT nType);
XWTH_API int T0MessageBox(CWnd* pWnd, UINT nID, UINT nType);

// The base toolkit's TQSetForegroundWindow(pWnd), result unchanged.
XWTH_API int T0SetForegroundWindow(CWnd* pWnd);
