// winport's own extensions beyond the Win32 API: what a host program (the
// xwth tool, the tests) installs or asks for on a headless POSIX system.
// Every name carries the prefix Wp.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <wpexport.h>

#ifdef __cplusplus
extern "C" {
#endif

// --- screen and bitmaps as PNG ---------------------------------------------
// Writes the bitmap's pixels as an 8-bit RGB PNG (a 1-bit bitmap as black and
// white). The file is written beside its final name and renamed into place,
// so a failure leaves no partial file. FALSE with the last error on failure
// (ERROR_INVALID_HANDLE for a handle that is no bitmap, the file system's
// error otherwise). The bitmap may stay selected in a DC.
WINPORT_API BOOL WINAPI WpSaveBitmapAsPng(HBITMAP hBitmap, LPCSTR lpszPath);
// The same for the virtual screen (GetDC(NULL) draws on it).
WINPORT_API BOOL WINAPI WpSaveScreenAsPng(LPCSTR lpszPath);

// --- menu input script for TrackPopupMenuEx ----------------------------------
// A tracked popup menu has no mouse or keyboard to wait for. It measures and
// draws its entries through the owner window onto the virtual screen, then
// reads the steps installed on the calling thread, one at a time, until one
// of them ends the menu. Steps are separated by blanks; case does not matter:
//
//   down, up      select the next / previous entry that is not a separator,
//                 wrapping around (from no selection: the first / last)
//   home, end     select the first / last such entry
//   right         open the selected entry's submenu (its first entry selected)
//   left          close the innermost open submenu
//   enter         choose the selected entry: a submenu opens; a grayed or
//                 disabled entry is not chosen and the menu stays open
//   key:C         type the character C (any one non-blank character): the
//                 first entry of the innermost menu whose text has "&C" is
//                 chosen; owner-drawn entries have no text for the system, so
//                 without such an entry the owner is sent WM_MENUCHAR and its
//                 answer is acted on (MNC_EXECUTE, MNC_SELECT, MNC_CLOSE, or
//                 MNC_IGNORE: nothing happens)
//   choose:ID     choose the entry with command id ID in the open menus, as a
//                 click would (ignored when there is none or it is disabled)
//   esc           close the innermost submenu, or dismiss the menu
//   dismiss       close the whole menu without a choice
//
// Steps left over when a menu ends stay for the next TrackPopupMenuEx on the
// thread; a menu whose steps run out is dismissed (the call never waits).
// The menu's last picture stays on the virtual screen after the call, so a
// capture of the screen shows it.

// Replaces the calling thread's steps; NULL or "" clears them. FALSE and
// ERROR_INVALID_PARAMETER for a step it does not know (nothing installed).
WINPORT_API BOOL WINAPI WpSetMenuInput(LPCSTR lpszScript);
// How many installed steps the thread has not used yet.
WINPORT_API int WINAPI WpGetMenuInputLeft(void);
// The screen rectangle of the top menu of the thread's last tracking, frame
// included; FALSE when the thread has not tracked a menu.
WINPORT_API BOOL WINAPI WpGetTrackedMenuRect(LPRECT lprc);

// --- presenters: message boxes and file dialogs -------------------------------

// Answers MessageBoxA in place of a person: gets the owner, text, caption
// and style as MessageBoxA got them, and returns the button code (IDOK,
// IDCANCEL, ...) that MessageBoxA then returns. Called on the caller's thread.
typedef int (*WpMessageBoxPresenter)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Installs the presenter for every later MessageBoxA; NULL restores the
// default, which writes the box to standard error and answers its default
// button. Returns the presenter installed before (NULL for the default).
WINPORT_API WpMessageBoxPresenter WpSetMessageBoxPresenter(WpMessageBoxPresenter presenter);

// Answers GetOpenFileNameA (bSave FALSE) and GetSaveFileNameA (bSave TRUE)
// in place of a person and the system dialog: gets the caller's record as
// filled (the proposed name in lpstrFile, lpstrInitialDir, the filters, the
// flags, lpstrTitle) and answers as the dialog would: the choice written into
// lpstrFile in the system's layout (see commdlg.h; WpSetFileDialogChoice does
// it) with nFileOffset set, and IDOK; or IDCANCEL; or a CDERR_/FNERR_ code,
// which the call reports through CommDlgExtendedError. Called on the
// caller's thread, while the call's hook windows exist.
typedef int (*WpFileDialogPresenter)(BOOL bSave, LPOPENFILENAMEA lpofn);

// Installs the presenter for every later file dialog of the process; NULL
// restores the default. The default runs `zenity --file-selection` when a
// display is set (DISPLAY or WAYLAND_DISPLAY) and zenity is on PATH, and
// answers IDCANCEL otherwise. Returns the presenter installed before (NULL
// for the default).
WINPORT_API WpFileDialogPresenter WpSetFileDialogPresenter(WpFileDialogPresenter presenter);

// Writes count full paths into lpofn->lpstrFile as the system dialog writes
// a choice: one path as it is; several (OFN_ALLOWMULTISELECT) as their
// common folder and the names relative to it. Sets nFileOffset. IDOK, or
// FNERR_BUFFERTOOSMALL (the size needed in lpstrFile's first two bytes) when
// the choice does not fit nMaxFile, or CDERR_INITIALIZATION for no paths or
// no buffer. Only the first path is taken without OFN_ALLOWMULTISELECT.
WINPORT_API int WINAPI WpSetFileDialogChoice(LPOPENFILENAMEA lpofn, const LPCSTR* paths, int count);

#ifdef __cplusplus
}
#endif
