// user32's private objects: window classes, windows and menus.
#pragma once
//
//   WindowClass  one registered class (name, procedure, extra bytes)
//   Window       one window; the handle table owns it until DestroyWindow
//   Menu         one menu and its items; the table owns it until DestroyMenu
//
// Every field that another thread could read (text, styles, items) is
// guarded by UserLock(). No lock is held while a window procedure runs: a
// procedure may call back into user32 freely.

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "win32/handles.h"

namespace winport {

std::recursive_mutex& UserLock();

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    WNDCLASSA info{};  // lpszClassName and lpszMenuName are not kept
};

// The class of that name or atom (MAKEINTATOM), or null.
[[nodiscard]] std::shared_ptr<const WindowClass> FindWindowClass(LPCSTR nameOrAtom);

struct Window : Object {
    static constexpr ObjectKind kKind = ObjectKind::Window;
    Window() : Object(kKind) {}

    std::shared_ptr<const WindowClass> cls;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    std::vector<HWND> children;  // in creation order
    std::string text;
    LONG_PTR id = 0;             // a child's control id; a top-level window's menu
    LONG_PTR userData = 0;
    HINSTANCE instance = nullptr;
    RECT rect{};
    DWORD threadId = 0;
    bool destroying = false;
    std::vector<unsigned char> extra;  // cbWndExtra bytes
    // What the built-in controls keep: font, image, check state.
    LONG_PTR font = 0;
    LONG_PTR image = 0;
    LONG_PTR check = 0;
};

[[nodiscard]] inline std::shared_ptr<Window> LookupWindow(HWND hWnd) {
    auto w = Lookup<Window>(hWnd);
    if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

// The built-in control procedures.
LRESULT CALLBACK ButtonProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

struct MenuItem {
    UINT type = 0;   // MF_SEPARATOR, MF_OWNERDRAW, MF_BITMAP, MF_MENUBREAK, ...
    UINT state = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_HILITE, MF_DEFAULT
    UINT_PTR id = 0;
    HMENU submenu = nullptr;
    std::string text;
    ULONG_PTR data = 0;  // owner-draw item data, or the bitmap of MF_BITMAP
};

struct Menu : Object {
    static constexpr ObjectKind kKind = ObjectKind::Menu;
    Menu() : Object(kKind) {}

    bool popup = false;
    std::vector<MenuItem> items;
};

[[nodiscard]] inline std::shared_ptr<Menu> LookupMenu(HMENU hMenu) {
    auto m = Lookup<Menu>(hMenu);
    if (!m) SetLastError(ERROR_INVALID_MENU_HANDLE);
    return m;
}

}  // namespace winport
