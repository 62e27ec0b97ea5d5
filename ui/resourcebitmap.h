// A bitmap resource of the module the framework finds for it.
#pragma once

#include <afxwin.h>

#include <cstring>

namespace ui {

// Loads bitmap nID (the low 16 bits) into `bitmap` and reads its size into
// `info`; false, with `bitmap` left empty, when no module has it.
inline bool LoadResourceBitmap(UINT nID, CBitmap& bitmap, BITMAP& info) {
    LPCSTR name = MAKEINTRESOURCEA(LOWORD(nID));
    if (!bitmap.Attach(::LoadBitmapA(::AfxFindResourceHandle(name, RT_BITMAP), name))) return false;
    std::memset(&info, 0, sizeof info);
    bitmap.GetBitmap(&info);
    return true;
}

}  // namespace ui
