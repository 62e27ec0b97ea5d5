// user32 GetMenuItemInfoA: one menu entry described by a MENUITEMINFOA.
//
// Only the members that fMask names are written. By command the search
// descends into submenus depth first, as every by-command lookup does.
//
//   MIIM_FTYPE    fType: MFT_ type bits (MFT_STRING is 0)
//   MIIM_STATE    fState: MF_GRAYED and MF_DISABLED as separate bits, checked, hilite, default
//   MIIM_ID       wID: the command id (a popup's: its submenu handle, cut to 32 bits)
//   MIIM_SUBMENU  hSubMenu, NULL for a plain entry
//   MIIM_DATA     dwItemData: the owner-draw data
//   MIIM_STRING   the text into dwTypeData (cch in: the buffer size; out: the length)
//   MIIM_TYPE     fType and, for a text entry, the text as MIIM_STRING does;
//                 an owner-drawn entry gives its data in dwTypeData
#include <cstddef>
#include <cstring>

#include "win32/user/user.h"

using namespace winport;

namespace {

bool FindEntry(HMENU hMenu, UINT item, bool byPosition, MenuItem& out, int depth = 0) {
    auto m = Lookup<Menu>(hMenu);
    if (!m || depth > 64) return false;
    if (byPosition) {
        if (item >= m->items.size()) return false;
        out = m->items[item];
        return true;
    }
    for (const MenuItem& entry : m->items) {
        if (entry.submenu != nullptr) {
            if (FindEntry(entry.submenu, item, false, out, depth + 1)) return true;
        } else if (static_cast<UINT>(entry.id) == item) {
            out = entry;
            return true;
        }
    }
    return false;
}

void CopyText(const std::string& text, MENUITEMINFOA* mii) {
    if (mii->dwTypeData == nullptr || mii->cch == 0) {
        mii->cch = static_cast<UINT>(text.size());
        return;
    }
    const size_t n = std::min<size_t>(text.size(), mii->cch - 1);
    std::memcpy(mii->dwTypeData, text.data(), n);
    mii->dwTypeData[n] = '\0';
    mii->cch = static_cast<UINT>(n);
}

}  // namespace

extern "C" {

// cbSize may also be that of the record without its last member, hbmpItem.
WINUSERAPI BOOL WINAPI GetMenuItemInfoA(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFOA lpmii) {
    if (lpmii == nullptr || (lpmii->cbSize != sizeof(MENUITEMINFOA) &&
                             lpmii->cbSize != offsetof(MENUITEMINFOA, hbmpItem))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MenuItem entry;
    {
        std::lock_guard<std::recursive_mutex> lock(UserLock());
        if (!LookupMenu(hmenu)) return FALSE;
        if (!FindEntry(hmenu, item, fByPosition != FALSE, entry)) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
    }
    const UINT mask = lpmii->fMask;
    const bool isText = (entry.type & (MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP)) == 0;
    if ((mask & (MIIM_FTYPE | MIIM_TYPE)) != 0) lpmii->fType = entry.type;
    if ((mask & MIIM_STATE) != 0) lpmii->fState = entry.state & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
    if ((mask & MIIM_ID) != 0) lpmii->wID = static_cast<UINT>(entry.id);
    if ((mask & MIIM_SUBMENU) != 0) lpmii->hSubMenu = entry.submenu;
    if ((mask & MIIM_DATA) != 0) lpmii->dwItemData = (entry.type & MF_OWNERDRAW) != 0 ? entry.data : 0;
    if ((mask & MIIM_STRING) != 0 || ((mask & MIIM_TYPE) != 0 && isText)) {
        CopyText(isText ? entry.text : std::string(), lpmii);
    } else if ((mask & MIIM_TYPE) != 0) {
        lpmii->dwTypeData = reinterpret_cast<LPSTR>(entry.data);
    }
    return TRUE;
}

}  // extern "C"
