// user32 menus: creation, items, states and destruction.
//
// An item is found by position (MF_BYPOSITION) or by command id, the search
// by command descending into submenus depth first, as Windows does. A popup
// entry's id is its submenu's handle: GetMenuItemID answers -1 for it, and a
// separator answers 0. DestroyMenu destroys the submenus still attached, so a
// menu cannot be made its own submenu, directly or further down (that would
// make the destruction endless); a submenu may hang under several menus.
//
//   GetMenuState result      plain entry            popup entry
//   low byte                 MF_ state and type     MF_POPUP | state
//   high bits                MF_SEPARATOR etc.      item count << 8
//   not found                -1                     -1
//   a separator              MF_SEPARATOR | MF_GRAYED | MF_DISABLED
#include <cstring>
#include <functional>

#include "win32/user/user.h"

using namespace winport;

namespace {

constexpr UINT kTypeFlags = MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP | MF_MENUBREAK | MF_MENUBARBREAK |
                            MF_RIGHTJUSTIFY;
constexpr UINT kStateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;

HMENU NewMenu(bool popup) {
    auto m = std::make_shared<Menu>();
    m->popup = popup;
    return static_cast<HMENU>(RegisterObjectWithFreshHandle(m));
}

// Where an entry is: its menu and index; menu null when not found.
struct Place {
    std::shared_ptr<Menu> menu;
    size_t index = 0;
};

Place FindByCommand(const std::shared_ptr<Menu>& menu, UINT id, int depth = 0) {
    if (depth > 64) return {};
    for (size_t i = 0; i < menu->items.size(); ++i) {
        const MenuItem& item = menu->items[i];
        if (item.submenu != nullptr) {
            if (auto sub = Lookup<Menu>(item.submenu)) {
                Place p = FindByCommand(sub, id, depth + 1);
                if (p.menu) return p;
            }
        } else if (static_cast<UINT>(item.id) == id) {
            return {menu, i};
        }
    }
    // A popup entry can be named by its (truncated) submenu handle as well.
    for (size_t i = 0; i < menu->items.size(); ++i) {
        if (menu->items[i].submenu != nullptr && static_cast<UINT>(menu->items[i].id) == id) return {menu, i};
    }
    return {};
}

Place Find(const std::shared_ptr<Menu>& menu, UINT uId, UINT uFlags) {
    if ((uFlags & MF_BYPOSITION) != 0) {
        if (uId >= menu->items.size()) return {};
        return {menu, uId};
    }
    return FindByCommand(menu, uId);
}

// True when candidate is menu itself or lies somewhere under it.
bool Contains(HMENU menu, HMENU candidate, int depth = 0) {
    if (menu == candidate) return true;
    auto m = Lookup<Menu>(menu);
    if (!m || depth > 64) return false;
    for (const MenuItem& item : m->items) {
        if (item.submenu != nullptr && Contains(item.submenu, candidate, depth + 1)) return true;
    }
    return false;
}

// Fills an item from the AppendMenu/InsertMenu arguments; false (and the
// last error set) for a bad submenu.
bool MakeItem(HMENU owner, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem, MenuItem& item) {
    item.type = uFlags & kTypeFlags;
    item.state = uFlags & (kStateFlags & ~static_cast<UINT>(MF_HILITE));
    item.id = uIDNewItem;
    if ((uFlags & MF_POPUP) != 0) {
        const auto sub = reinterpret_cast<HMENU>(uIDNewItem);
        if (!Lookup<Menu>(sub)) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return false;
        }
        if (Contains(sub, owner)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        item.submenu = sub;
    }
    if ((uFlags & MF_SEPARATOR) != 0) {
        item.state |= MF_GRAYED | MF_DISABLED;  // nothing to choose, and it says so
        return true;
    }
    if ((uFlags & (MF_OWNERDRAW | MF_BITMAP)) != 0) {
        item.data = reinterpret_cast<ULONG_PTR>(lpNewItem);
    } else if (lpNewItem != nullptr) {
        item.text = lpNewItem;
    }
    return true;
}

void DestroyTree(HMENU hMenu, int depth) {
    auto m = UnregisterObject(hMenu, ObjectKind::Menu);
    if (!m || depth > 64) return;
    for (const MenuItem& item : static_cast<Menu&>(*m).items) {
        if (item.submenu != nullptr) DestroyTree(item.submenu, depth + 1);
    }
}

}  // namespace

extern "C" {

WINUSERAPI HMENU WINAPI CreateMenu(void) {
    return NewMenu(false);
}

WINUSERAPI HMENU WINAPI CreatePopupMenu(void) {
    return NewMenu(true);
}

WINUSERAPI BOOL WINAPI DestroyMenu(HMENU hMenu) {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    if (!LookupMenu(hMenu)) return FALSE;
    DestroyTree(hMenu, 0);
    return TRUE;
}

WINUSERAPI BOOL WINAPI IsMenu(HMENU hMenu) {
    return Lookup<Menu>(hMenu) ? TRUE : FALSE;
}

WINUSERAPI BOOL WINAPI AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    auto m = LookupMenu(hMenu);
    if (!m) return FALSE;
    MenuItem item;
    if (!MakeItem(hMenu, uFlags, uIDNewItem, lpNewItem, item)) return FALSE;
    m->items.push_back(std::move(item));
    return TRUE;
}

// By position, a position past the end appends; by command, the new entry
// goes before the one with that id, in whichever submenu holds it, and at
// the end of the menu when no entry has that id.
WINUSERAPI BOOL WINAPI InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem,
                                   LPCSTR lpNewItem) {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    auto m = LookupMenu(hMenu);
    if (!m) return FALSE;
    Place p;
    if ((uFlags & MF_BYPOSITION) != 0) {
        p = {m, std::min<size_t>(uPosition, m->items.size())};
    } else {
        p = FindByCommand(m, uPosition);
        if (!p.menu) p = {m, m->items.size()};
    }
    MenuItem item;
    if (!MakeItem(hMenu, uFlags & ~static_cast<UINT>(MF_BYPOSITION), uIDNewItem, lpNewItem, item)) return FALSE;
    p.menu->items.insert(p.menu->items.begin() + static_cast<ptrdiff_t>(p.index), std::move(item));
    return TRUE;
}

// Takes the entry out of its menu; its submenu handle (or NULL) goes to
// *submenu. FALSE, with the last error set, when there is no such entry.
static BOOL TakeEntry(HMENU hMenu, UINT uPosition, UINT uFlags, HMENU* submenu) {
    auto m = LookupMenu(hMenu);
    if (!m) return FALSE;
    Place p = Find(m, uPosition, uFlags);
    if (!p.menu) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    *submenu = p.menu->items[p.index].submenu;
    p.menu->items.erase(p.menu->items.begin() + static_cast<ptrdiff_t>(p.index));
    return TRUE;
}

WINUSERAPI BOOL WINAPI RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    HMENU sub = nullptr;
    return TakeEntry(hMenu, uPosition, uFlags, &sub);
}

// RemoveMenu that also destroys a removed submenu.
WINUSERAPI BOOL WINAPI DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    HMENU sub = nullptr;
    if (!TakeEntry(hMenu, uPosition, uFlags, &sub)) return FALSE;
    if (sub != nullptr) DestroyTree(sub, 0);
    return TRUE;
}

WINUSERAPI int WINAPI GetMenuItemCount(HMENU hMenu) {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    auto m = LookupMenu(hMenu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

WINUSERAPI UINT WINAPI GetMenuItemID(HMENU hMenu, int nPos) {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    auto m = LookupMenu(hMenu);
    if (!m || nPos < 0 || static_cast<size_t>(nPos) >= m->items.size()) return static_cast<UINT>(-1);
    const MenuItem& item = m->items[static_cast<size_t>(nPos)];
    if (item.submenu != nullptr) return static_cast<UINT>(-1);
    return static_cast<UINT>(item.id);
}

WINUSERAPI UINT WINAPI GetMenuState(HMENU hMenu, UINT uId, UINT uFlags) {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    auto m = LookupMenu(hMenu);
    if (!m) return static_cast<UINT>(-1);
    Place p = Find(m, uId, uFlags);
    if (!p.menu) return static_cast<UINT>(-1);
    const MenuItem& item = p.menu->items[p.index];
    if (item.submenu != nullptr) {
        auto sub = Lookup<Menu>(item.submenu);
        const UINT count = sub ? static_cast<UINT>(sub->items.size()) : 0;
        return (count << 8) | ((item.state | item.type | MF_POPUP) & 0xFF);
    }
    return item.state | item.type;
}

// The text without its terminator, cut to cchMax - 1; its length when
// lpString is NULL. Separators, bitmaps and owner-drawn entries have none.
WINUSERAPI int WINAPI GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags) {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    auto m = LookupMenu(hMenu);
    if (lpString != nullptr && cchMax > 0) lpString[0] = '\0';
    if (!m) return 0;
    Place p = Find(m, uIDItem, flags);
    if (!p.menu) return 0;
    const std::string& text = p.menu->items[p.index].text;
    if (lpString == nullptr) return static_cast<int>(text.size());
    if (cchMax <= 0) return 0;
    const size_t n = std::min(text.size(), static_cast<size_t>(cchMax - 1));
    std::memcpy(lpString, text.data(), n);
    lpString[n] = '\0';
    return static_cast<int>(n);
}

WINUSERAPI HMENU WINAPI GetSubMenu(HMENU hMenu, int nPos) {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    auto m = LookupMenu(hMenu);
    if (!m || nPos < 0 || static_cast<size_t>(nPos) >= m->items.size()) return nullptr;
    return m->items[static_cast<size_t>(nPos)].submenu;
}

// The previous check state (MF_CHECKED or MF_UNCHECKED), -1 when not found.
WINUSERAPI DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck) {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    auto m = LookupMenu(hMenu);
    if (!m) return static_cast<DWORD>(-1);
    Place p = Find(m, uIDCheckItem, uCheck);
    if (!p.menu) return static_cast<DWORD>(-1);
    MenuItem& item = p.menu->items[p.index];
    const DWORD old = item.state & MF_CHECKED;
    item.state = (item.state & ~static_cast<UINT>(MF_CHECKED)) | (uCheck & MF_CHECKED);
    return old;
}

// The previous MF_GRAYED/MF_DISABLED bits, -1 when not found.
WINUSERAPI BOOL WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    auto m = LookupMenu(hMenu);
    if (!m) return -1;
    Place p = Find(m, uIDEnableItem, uEnable);
    if (!p.menu) return -1;
    MenuItem& item = p.menu->items[p.index];
    const UINT mask = MF_GRAYED | MF_DISABLED;
    const BOOL old = static_cast<BOOL>(item.state & mask);
    item.state = (item.state & ~mask) | (uEnable & mask);
    return old;
}

}  // extern "C"
