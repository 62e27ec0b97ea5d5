// comdlg32 slice, winport on POSIX: the open and save file dialogs.
#pragma once
//
// A headless system has no dialog to show: GetOpenFileNameA and
// GetSaveFileNameA ask the file dialog presenter of winport.h, which answers
// as the system dialog would (see WpSetFileDialogPresenter).

#include <stddef.h>

#include <windef.h>

typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagOFNA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;        // pairs of texts "Name\0Patterns\0", an empty text ends them
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;        // 1-based
    LPSTR lpstrFile;           // in: the proposed name; out: the choice
    DWORD nMaxFile;            // size of lpstrFile in bytes
    LPSTR lpstrFileTitle;      // out: the chosen file's name, when not NULL
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;          // out: where the (first) name starts in lpstrFile
    WORD nFileExtension;       // out: where its extension starts, after the dot
    LPCSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
    void* pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
} OPENFILENAMEA, *LPOPENFILENAMEA;
typedef OPENFILENAMEA OPENFILENAME;
typedef LPOPENFILENAMEA LPOPENFILENAME;

// The record of the older systems, which stops after lpTemplateName.
#define OPENFILENAME_SIZE_VERSION_400A (offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR))
#define OPENFILENAME_SIZE_VERSION_400 OPENFILENAME_SIZE_VERSION_400A

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_SHOWHELP 0x00000010
#define OFN_ENABLEHOOK 0x00000020
#define OFN_ENABLETEMPLATE 0x00000040
#define OFN_ENABLETEMPLATEHANDLE 0x00000080
#define OFN_NOVALIDATE 0x00000100
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_EXTENSIONDIFFERENT 0x00000400
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_CREATEPROMPT 0x00002000
#define OFN_SHAREAWARE 0x00004000
#define OFN_NOREADONLYRETURN 0x00008000
#define OFN_NOTESTFILECREATE 0x00010000
#define OFN_NONETWORKBUTTON 0x00020000
#define OFN_NOLONGNAMES 0x00040000
#define OFN_EXPLORER 0x00080000
#define OFN_NODEREFERENCELINKS 0x00100000
#define OFN_LONGNAMES 0x00200000
#define OFN_ENABLEINCLUDENOTIFY 0x00400000
#define OFN_ENABLESIZING 0x00800000
#define OFN_DONTADDTORECENT 0x02000000
#define OFN_FORCESHOWHIDDEN 0x10000000

// CommDlgExtendedError codes.
#define CDERR_DIALOGFAILURE 0xFFFF
#define CDERR_GENERALCODES 0x0000
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define CDERR_NOTEMPLATE 0x0003
#define CDERR_NOHINSTANCE 0x0004
#define CDERR_LOADSTRFAILURE 0x0005
#define CDERR_FINDRESFAILURE 0x0006
#define CDERR_LOADRESFAILURE 0x0007
#define CDERR_LOCKRESFAILURE 0x0008
#define CDERR_MEMALLOCFAILURE 0x0009
#define CDERR_MEMLOCKFAILURE 0x000A
#define CDERR_NOHOOK 0x000B
#define CDERR_REGISTERMSGFAIL 0x000C
#define FNERR_FILENAMECODES 0x3000
#define FNERR_SUBCLASSFAILURE 0x3001
#define FNERR_INVALIDFILENAME 0x3002
#define FNERR_BUFFERTOOSMALL 0x3003

#ifdef __cplusplus
extern "C" {
#endif

// TRUE when the user chose (lpstrFile, nFileOffset, nFileExtension and
// lpstrFileTitle then hold the choice, and the chosen folder is made current
// unless OFN_NOCHANGEDIR); FALSE when the user cancelled (extended error 0)
// or on failure (CommDlgExtendedError says why: CDERR_STRUCTSIZE for an
// lStructSize of neither record size, CDERR_INITIALIZATION for a NULL record
// or file buffer, CDERR_NOHOOK for OFN_ENABLEHOOK without a hook,
// FNERR_BUFFERTOOSMALL when the choice does not fit nMaxFile: its first two
// bytes then hold the size needed).
//
// Several files (OFN_ALLOWMULTISELECT with OFN_EXPLORER) come back as the
// folder, a NUL, each name followed by a NUL, and one more NUL; nFileOffset
// is the offset of the first name. One file comes back as its full path.
// Without OFN_EXPLORER the folder and names are separated by blanks.
//
// With OFN_ENABLEHOOK the hook gets WM_INITDIALOG (lParam: the record) on a
// hidden dialog window before the choice is asked for: with OFN_EXPLORER on
// a child of the dialog, as on Windows, else on the dialog itself.
WINPORT_API BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA lpofn);
WINPORT_API BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA lpofn);
// The calling thread's code of its last file dialog's failure, 0 after a
// choice or a cancel.
WINPORT_API DWORD WINAPI CommDlgExtendedError(void);

#ifdef __cplusplus
}
#endif

#define GetOpenFileName GetOpenFileNameA
#define GetSaveFileName GetSaveFileNameA
