// shell32 slice, winport on POSIX: special folders as item identifier lists
// and the file-system paths they stand for.
#pragma once

#include <windef.h>
#include <winerror.h>

#include <objbase.h>

#pragma pack(push, 1)
typedef struct _SHITEMID {
    USHORT cb;  // the size of the item, cb included; 0 ends a list
    BYTE abID[1];
} SHITEMID;
typedef struct _ITEMIDLIST {
    SHITEMID mkid;
} ITEMIDLIST;
#pragma pack(pop)
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
typedef ITEMIDLIST* PIDLIST_ABSOLUTE;
typedef const ITEMIDLIST* PCIDLIST_ABSOLUTE;

#define CSIDL_PERSONAL 0x0005
#define CSIDL_MYDOCUMENTS CSIDL_PERSONAL
#define CSIDL_PROFILE 0x0028
#define CSIDL_FLAG_DONT_VERIFY 0x4000
#define CSIDL_FLAG_CREATE 0x8000
#define CSIDL_FLAG_MASK 0xFF00

#ifdef __cplusplus
extern "C" {
#endif

// The identifier list of a special folder, which the caller frees with
// ILFree or CoTaskMemFree. On POSIX the folders are:
//   CSIDL_PERSONAL  the XDG documents folder: XDG_DOCUMENTS_DIR of
//                   ${XDG_CONFIG_HOME:-$HOME/.config}/user-dirs.dirs when that
//                   folder exists, else $HOME/Documents when it exists, else $HOME
//   CSIDL_PROFILE   $HOME
// $HOME unset or empty: the home folder of the user's account. Other folders
// answer E_INVALIDARG; a NULL ppidl E_INVALIDARG; no home E_FAIL.
WINPORT_API HRESULT WINAPI SHGetSpecialFolderLocation(HWND hwnd, int csidl, LPITEMIDLIST* ppidl);
// The path of a file-system identifier list into pszPath (MAX_PATH bytes).
// FALSE, and pszPath empty, for a NULL or foreign list or a path that does
// not fit.
WINPORT_API BOOL WINAPI SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath);
WINPORT_API void WINAPI ILFree(LPITEMIDLIST pidl);

#ifdef __cplusplus
}
#endif

#define SHGetPathFromIDList SHGetPathFromIDListA
