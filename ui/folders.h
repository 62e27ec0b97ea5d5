// The file dialog's folder functions (internal to the library). Each logs
// under "XWTH" and reports failure by false and an empty folder.
#pragma once

#include <afx.h>

// path, or "" for NULL, with "*.*" appended when it ends in a backslash.
[[nodiscard]] CString CheckPath(const char* path);
// The user's documents folder.
bool GetMyDocPath(CString& path);
// dir itself when that path exists (a file is accepted as well).
bool DirFromDir(const char* dir, CString& folder);
// The folder part of path (drive and folder, with its closing separator)
// when it exists; path is then cut in place to its file name and extension,
// unless it was that folder already.
bool DirFromPath(char* path, CString& folder);
