// user32 TrackPopupMenuEx: the headless menu loop, and the input script
// that stands in for the mouse and keyboard (winport.h).
//
// A tracking runs, on the calling thread:
//   1. WM_ENTERMENULOOP and WM_INITMENUPOPUP to the owner (not with
//      TPM_NONOTIFY), which may still change the menu;
//   2. layout: WM_MEASUREITEM (itemData as given to AppendMenu) for every
//      owner-drawn entry, the system's own measure for text entries, 8 pixels
//      for a separator; the menu is as wide as its widest entry, with a frame
//      of SM_CXFRAME/SM_CYFRAME around the entries, placed by the TPM_
//      alignment flags and kept on the screen;
//   3. drawing: the frame onto the screen, then every entry top to bottom
//      (WM_DRAWITEM with ODA_DRAWENTIRE for owner-drawn ones) into a bitmap
//      of the menu's inside whose origin is the top-left of the first entry,
//      copied onto the screen after each pass;
//   4. the script's steps: a selection change draws the entry losing and the
//      entry gaining the selection with ODA_SELECT; a submenu is laid out and
//      drawn when it opens (its entries measured then);
//   5. WM_UNINITMENUPOPUP and WM_EXITMENULOOP; the chosen id is returned
//      with TPM_RETURNCMD, otherwise posted as WM_COMMAND (not with
//      TPM_NONOTIFY) and TRUE returned. A dismissed menu gives 0 with
//      TPM_RETURNCMD, TRUE without.
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <string>

#include <winport.h>

#include "win32/user/user.h"

using namespace winport;

namespace {

// ---- the script --------------------------------------------------------------

enum class StepKind { Down, Up, Home, End, Right, Left, Enter, Key, Choose, Esc, Dismiss };

struct Step {
    StepKind kind;
    UINT value = 0;
};

thread_local std::deque<Step> t_steps;
thread_local bool t_tracking = false;
thread_local bool t_haveRect = false;
thread_local RECT t_lastRect{};

bool ParseStep(const std::string& word, Step& step) {
    static const struct {
        const char* name;
        StepKind kind;
    } plain[] = {{"down", StepKind::Down}, {"up", StepKind::Up},       {"home", StepKind::Home},
                 {"end", StepKind::End},   {"right", StepKind::Right}, {"left", StepKind::Left},
                 {"enter", StepKind::Enter}, {"esc", StepKind::Esc},   {"dismiss", StepKind::Dismiss}};
    for (const auto& p : plain) {
        if (strcasecmp(word.c_str(), p.name) == 0) {
            step.kind = p.kind;
            return true;
        }
    }
    if (word.size() == 5 && strncasecmp(word.c_str(), "key:", 4) == 0) {
        step.kind = StepKind::Key;
        step.value = static_cast<unsigned char>(word[4]);
        return true;
    }
    if (word.size() > 7 && strncasecmp(word.c_str(), "choose:", 7) == 0) {
        char* end = nullptr;
        const unsigned long id = std::strtoul(word.c_str() + 7, &end, 0);
        if (*end != '\0' || id > 0xFFFFFFFFul) return false;
        step.kind = StepKind::Choose;
        step.value = static_cast<UINT>(id);
        return true;
    }
    return false;
}

// ---- GDI scope helpers -------------------------------------------------------

class ScreenDC {
public:
    ScreenDC() : m_hdc(GetDC(nullptr)) {}
    ~ScreenDC() {
        if (m_hdc != nullptr) ReleaseDC(nullptr, m_hdc);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    [[nodiscard]] HDC get() const { return m_hdc; }

private:
    HDC m_hdc;
};

// A memory DC with a bitmap for one menu's inside. The surfaces are kept per
// thread and menu depth and made anew only for a larger menu, so tracking
// the same menu again costs no allocation; each use starts from the state
// saved after the font was selected, so what an owner left set in the DC
// (colours, modes, objects) does not reach the next tracking.
class Surface {
public:
    Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    ~Surface() { Release(); }

    bool Prepare(HDC screen, int cx, int cy, HFONT font) {
        cx = std::max(cx, 1);
        cy = std::max(cy, 1);
        if (m_dc != nullptr && cx <= m_cx && cy <= m_cy) {
            RestoreDC(m_dc, m_saved);
            m_saved = SaveDC(m_dc);
            return true;
        }
        Release();
        m_dc = CreateCompatibleDC(screen);
        m_bitmap = CreateCompatibleBitmap(screen, cx, cy);
        if (m_dc == nullptr || m_bitmap == nullptr) {
            Release();
            return false;
        }
        m_cx = cx;
        m_cy = cy;
        m_oldBitmap = SelectObject(m_dc, m_bitmap);
        if (font != nullptr) m_oldFont = SelectObject(m_dc, font);
        m_saved = SaveDC(m_dc);
        return true;
    }
    [[nodiscard]] HDC dc() const { return m_dc; }

private:
    void Release() {
        if (m_dc != nullptr) {
            RestoreDC(m_dc, m_saved);
            if (m_oldFont != nullptr) SelectObject(m_dc, m_oldFont);
            if (m_oldBitmap != nullptr) SelectObject(m_dc, m_oldBitmap);
            DeleteDC(m_dc);
        }
        if (m_bitmap != nullptr) DeleteObject(m_bitmap);
        m_dc = nullptr;
        m_bitmap = nullptr;
        m_oldBitmap = m_oldFont = nullptr;
        m_cx = m_cy = 0;
    }

    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    HGDIOBJ m_oldFont = nullptr;
    int m_cx = 0;
    int m_cy = 0;
    int m_saved = 0;
};

// The surface for a menu at this depth (0: the tracked menu) on this thread.
Surface& SurfaceAt(size_t depth) {
    static thread_local std::vector<std::unique_ptr<Surface>> surfaces;
    while (surfaces.size() <= depth) surfaces.push_back(std::make_unique<Surface>());
    return *surfaces[depth];
}

// ---- one open menu -----------------------------------------------------------

struct Level {
    HMENU menu = nullptr;
    std::vector<MenuItem> items;  // as they were when the menu opened
    std::vector<RECT> rects;      // entry rectangles inside the frame
    RECT frame{};                 // on the screen
    int selected = -1;
    Surface* surface = nullptr;  // SurfaceAt(depth), when it could be made
};

// What ends a tracking.
struct Outcome {
    bool done = false;
    UINT id = 0;  // 0: dismissed
};

class Tracker {
public:
    Tracker(HWND owner, UINT flags) : m_owner(owner), m_flags(flags) {}
    Tracker(const Tracker&) = delete;
    Tracker& operator=(const Tracker&) = delete;
    ~Tracker() = default;

    UINT Run(HMENU menu, int x, int y);

private:
    [[nodiscard]] bool Notify() const { return (m_flags & TPM_NONOTIFY) == 0; }
    bool Open(HMENU menu, UINT indexInParent, POINT anchor, const RECT* beside);
    void CloseInnermost();
    void Layout(Level& level);
    void Place(Level& level, POINT anchor, const RECT* beside) const;
    void DrawFrame(const Level& level) const;
    void DrawEntry(Level& level, size_t i, UINT action);
    void Show(Level& level) const;
    void Select(Level& level, int index);
    void Move(int direction, bool toEnd);
    Outcome Execute(size_t levelIndex, int index);
    Outcome TypeKey(UINT ch);
    Outcome Choose(UINT id);
    Outcome Apply(const Step& step);
    void SetHilite(HMENU menu, int index, bool on) const;

    HWND m_owner;
    UINT m_flags;
    HFONT m_font = nullptr;
    std::vector<Level> m_levels;
};

void Tracker::SetHilite(HMENU menu, int index, bool on) const {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    auto m = Lookup<Menu>(menu);
    if (!m || index < 0 || static_cast<size_t>(index) >= m->items.size()) return;
    UINT& state = m->items[static_cast<size_t>(index)].state;
    state = on ? (state | MF_HILITE) : (state & ~static_cast<UINT>(MF_HILITE));
}

// Owner-drawn entries give their own size; text entries get a check-mark
// column on either side of the text, and are at least as high as a check
// mark. The first entry's top is 0 inside the frame.
void Tracker::Layout(Level& level) {
    ScreenDC screen;
    Surface measure;
    const bool hasText = std::any_of(level.items.begin(), level.items.end(), [](const MenuItem& item) {
        return (item.type & (MF_OWNERDRAW | MF_SEPARATOR)) == 0;
    });
    if (hasText) measure.Prepare(screen.get(), 1, 1, m_font);
    const int check = GetSystemMetrics(SM_CXMENUCHECK);
    level.rects.assign(level.items.size(), RECT{});
    int width = 0;
    int top = 0;
    for (size_t i = 0; i < level.items.size(); ++i) {
        const MenuItem& item = level.items[i];
        int cx = 0;
        int cy = 0;
        if ((item.type & MF_SEPARATOR) != 0) {
            cy = 8;
        } else if ((item.type & MF_OWNERDRAW) != 0) {
            MEASUREITEMSTRUCT mis{};
            mis.CtlType = ODT_MENU;
            mis.itemID = static_cast<UINT>(item.id);
            mis.itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENUSIZE));
            mis.itemData = item.data;
            SendMessageA(m_owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
            cx = static_cast<int>(mis.itemWidth);
            cy = static_cast<int>(mis.itemHeight);
        } else {
            RECT r{0, 0, 0, 0};
            if (measure.dc() != nullptr) {
                DrawTextA(measure.dc(), item.text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
            }
            cx = (r.right - r.left) + 2 * (check + 4);
            cy = std::max<int>(r.bottom - r.top + 4, check + 4);
        }
        level.rects[i] = RECT{0, top, 0, top + cy};
        top += cy;
        width = std::max(width, cx);
    }
    for (RECT& r : level.rects) r.right = width;
}

// The frame's top-left at the anchor (moved by the alignment flags), or, for
// a submenu, beside the parent entry; then pushed back onto the screen.
void Tracker::Place(Level& level, POINT anchor, const RECT* beside) const {
    const int fx = GetSystemMetrics(SM_CXFRAME);
    const int fy = GetSystemMetrics(SM_CYFRAME);
    const int width = (level.rects.empty() ? 0 : level.rects.back().right) + 2 * fx;
    const int height = (level.rects.empty() ? 0 : level.rects.back().bottom) + 2 * fy;
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    int x = anchor.x;
    int y = anchor.y;
    if (beside != nullptr) {
        y -= fy;
        if (x + width > screenW) x = beside->left - width;
    } else {
        if ((m_flags & TPM_RIGHTALIGN) != 0) {
            x -= width;
        } else if ((m_flags & TPM_CENTERALIGN) != 0) {
            x -= width / 2;
        }
        if ((m_flags & TPM_BOTTOMALIGN) != 0) {
            y -= height;
        } else if ((m_flags & TPM_VCENTERALIGN) != 0) {
            y -= height / 2;
        }
    }
    x = std::max(0, std::min(x, screenW - width));
    y = std::max(0, std::min(y, screenH - height));
    level.frame = RECT{x, y, x + width, y + height};
}

void Tracker::DrawFrame(const Level& level) const {
    ScreenDC screen;
    if (screen.get() == nullptr) return;
    // The band between the edge and the entries; the entries cover the rest.
    const RECT& f = level.frame;
    const int fx = GetSystemMetrics(SM_CXFRAME);
    const int fy = GetSystemMetrics(SM_CYFRAME);
    const RECT bands[] = {{f.left, f.top, f.right, f.top + fy},
                          {f.left, f.bottom - fy, f.right, f.bottom},
                          {f.left, f.top + fy, f.left + fx, f.bottom - fy},
                          {f.right - fx, f.top + fy, f.right, f.bottom - fy}};
    for (const RECT& band : bands) FillRect(screen.get(), &band, GetSysColorBrush(COLOR_MENU));
    RECT r = f;
    DrawEdge(screen.get(), &r, EDGE_RAISED, BF_RECT);
}

// The submenu arrow: a solid triangle pointing right, 4 pixels wide and 7
// high, centred in the check-mark-wide column at the entry's right end.
void DrawSubmenuArrow(HDC dc, const RECT& entry, int check, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    const int left = entry.right - (check + 4) / 2 - 2;
    const int middle = (entry.top + entry.bottom) / 2;
    for (int column = 0; column < 4; ++column) {
        const RECT line{left + column, middle - 3 + column, left + column + 1, middle + 4 - column};
        FillRect(dc, &line, brush);
    }
    DeleteObject(brush);
}

COLORREF EntryTextColour(const MenuItem& item, bool selected) {
    if ((item.state & MF_GRAYED) != 0) return GetSysColor(COLOR_GRAYTEXT);
    return GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
}

// Text entries are drawn the classic way: highlight across the entry when
// selected, a check mark in the left column, grayed text embossed. The
// system draws the submenu arrow of every popup entry, an owner-drawn one
// too (after its owner has drawn it).
void Tracker::DrawEntry(Level& level, size_t i, UINT action) {
    if (!level.surface || level.surface->dc() == nullptr) return;
    const HDC dc = level.surface->dc();
    const MenuItem& item = level.items[i];
    RECT r = level.rects[i];
    const bool selected = static_cast<int>(i) == level.selected;
    if ((item.type & MF_OWNERDRAW) != 0) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemID = static_cast<UINT>(item.id);
        dis.itemAction = action;
        if (selected) dis.itemState |= ODS_SELECTED;
        if ((item.state & MF_GRAYED) != 0) dis.itemState |= ODS_GRAYED;
        if ((item.state & MF_DISABLED) != 0) dis.itemState |= ODS_DISABLED;
        if ((item.state & MF_CHECKED) != 0) dis.itemState |= ODS_CHECKED;
        if ((item.state & MF_DEFAULT) != 0) dis.itemState |= ODS_DEFAULT;
        dis.hwndItem = reinterpret_cast<HWND>(level.menu);
        dis.hDC = dc;
        dis.rcItem = r;
        dis.itemData = item.data;
        SendMessageA(m_owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        if (item.submenu != nullptr) {
            DrawSubmenuArrow(dc, r, GetSystemMetrics(SM_CXMENUCHECK), EntryTextColour(item, selected));
        }
        return;
    }
    FillRect(dc, &r, GetSysColorBrush(selected && (item.type & MF_SEPARATOR) == 0 ? COLOR_HIGHLIGHT : COLOR_MENU));
    if ((item.type & MF_SEPARATOR) != 0) {
        RECT line{r.left + 1, r.top + (r.bottom - r.top) / 2 - 1, r.right - 1, r.bottom};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const int check = GetSystemMetrics(SM_CXMENUCHECK);
    SetBkMode(dc, TRANSPARENT);
    RECT text{r.left + check + 4, r.top, r.right - check - 4, r.bottom};
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    if ((item.state & MF_GRAYED) != 0 && !selected) {
        RECT lit = text;
        OffsetRect(&lit, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextA(dc, item.text.c_str(), -1, &lit, format);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else if ((item.state & MF_GRAYED) != 0) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else {
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    }
    DrawTextA(dc, item.text.c_str(), -1, &text, format);
    if ((item.state & MF_CHECKED) != 0) {
        RECT mark{r.left + 2, r.top, r.left + check + 2, r.bottom};
        DrawTextA(dc, "v", 1, &mark, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    }
    if (item.submenu != nullptr) DrawSubmenuArrow(dc, r, check, EntryTextColour(item, selected));
}

void Tracker::Show(Level& level) const {
    if (!level.surface || level.surface->dc() == nullptr || level.rects.empty()) return;
    ScreenDC screen;
    if (screen.get() == nullptr) return;
    const int fx = GetSystemMetrics(SM_CXFRAME);
    const int fy = GetSystemMetrics(SM_CYFRAME);
    BitBlt(screen.get(), level.frame.left + fx, level.frame.top + fy, level.rects.back().right,
           level.rects.back().bottom, level.surface->dc(), 0, 0, SRCCOPY);
}

bool Tracker::Open(HMENU menu, UINT indexInParent, POINT anchor, const RECT* beside) {
    if (Notify()) {
        SendMessageA(m_owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(indexInParent, FALSE));
    }
    Level level;
    level.menu = menu;
    {
        std::lock_guard<std::recursive_mutex> lock(UserLock());
        auto m = Lookup<Menu>(menu);
        if (!m) return false;
        level.items = m->items;
    }
    Layout(level);
    Place(level, anchor, beside);
    DrawFrame(level);
    const int cx = level.rects.empty() ? 0 : level.rects.back().right;
    const int cy = level.rects.empty() ? 0 : level.rects.back().bottom;
    ScreenDC screen;
    Surface& surface = SurfaceAt(m_levels.size());
    if (surface.Prepare(screen.get(), cx, cy, m_font)) {
        level.surface = &surface;
        RECT all{0, 0, cx, cy};
        FillRect(surface.dc(), &all, GetSysColorBrush(COLOR_MENU));
    }
    m_levels.push_back(std::move(level));
    Level& opened = m_levels.back();
    for (size_t i = 0; i < opened.items.size(); ++i) DrawEntry(opened, i, ODA_DRAWENTIRE);
    Show(opened);
    return true;
}

void Tracker::CloseInnermost() {
    Level& level = m_levels.back();
    if (level.selected >= 0) SetHilite(level.menu, level.selected, false);
    if (Notify()) SendMessageA(m_owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(level.menu), 0);
    m_levels.pop_back();
}

void Tracker::Select(Level& level, int index) {
    if (index == level.selected) return;
    const int old = level.selected;
    if (old >= 0) SetHilite(level.menu, old, false);
    level.selected = index;
    if (index >= 0) SetHilite(level.menu, index, true);
    if (old >= 0) DrawEntry(level, static_cast<size_t>(old), ODA_SELECT);
    if (index >= 0) {
        DrawEntry(level, static_cast<size_t>(index), ODA_SELECT);
        const MenuItem& item = level.items[static_cast<size_t>(index)];
        const bool popup = item.submenu != nullptr;
        const UINT flags = (item.state | item.type | MF_HILITE | (popup ? MF_POPUP : 0)) & 0xFFFF;
        SendMessageA(m_owner, WM_MENUSELECT,
                     MAKEWPARAM(popup ? static_cast<UINT>(index) : static_cast<UINT>(item.id), flags),
                     reinterpret_cast<LPARAM>(level.menu));
    }
    Show(level);
}

void Tracker::Move(int direction, bool toEnd) {
    Level& level = m_levels.back();
    const int n = static_cast<int>(level.items.size());
    if (n == 0) return;
    int i = level.selected;
    if (toEnd) i = direction > 0 ? -1 : n;
    for (int tries = 0; tries < n; ++tries) {
        if (i < 0 && direction < 0) i = n;
        i = ((i + direction) % n + n) % n;
        if ((level.items[static_cast<size_t>(i)].type & MF_SEPARATOR) == 0) {
            Select(level, i);
            return;
        }
    }
}

// Choosing an entry: a submenu opens beside it, a grayed or disabled entry
// stays as it is, anything else ends the tracking with its id.
Outcome Tracker::Execute(size_t levelIndex, int index) {
    Level& level = m_levels[levelIndex];
    if (index < 0 || static_cast<size_t>(index) >= level.items.size()) return {};
    const MenuItem item = level.items[static_cast<size_t>(index)];
    if ((item.type & MF_SEPARATOR) != 0) return {};
    Select(level, index);
    if ((item.state & (MF_GRAYED | MF_DISABLED)) != 0) return {};
    if (item.submenu != nullptr) {
        while (m_levels.size() > levelIndex + 1) CloseInnermost();
        const RECT parent = m_levels[levelIndex].frame;
        const RECT entry = m_levels[levelIndex].rects[static_cast<size_t>(index)];
        const POINT anchor{parent.right - 3, parent.top + GetSystemMetrics(SM_CYFRAME) + entry.top};
        if (Open(item.submenu, static_cast<UINT>(index), anchor, &parent)) Move(+1, true);
        return {};
    }
    return {true, static_cast<UINT>(item.id)};
}

Outcome Tracker::TypeKey(UINT ch) {
    const size_t inner = m_levels.size() - 1;
    Level& level = m_levels[inner];
    const int key = std::toupper(static_cast<int>(ch));
    for (size_t i = 0; i < level.items.size(); ++i) {
        const MenuItem& item = level.items[i];
        if ((item.type & (MF_OWNERDRAW | MF_SEPARATOR | MF_BITMAP)) != 0) continue;
        const auto amp = item.text.find('&');
        if (amp != std::string::npos && amp + 1 < item.text.size() &&
            std::toupper(static_cast<unsigned char>(item.text[amp + 1])) == key) {
            return Execute(inner, static_cast<int>(i));
        }
    }
    const LRESULT answer = SendMessageA(m_owner, WM_MENUCHAR, MAKEWPARAM(ch, MF_POPUP),
                                        reinterpret_cast<LPARAM>(level.menu));
    const int position = LOWORD(answer);
    switch (HIWORD(answer)) {
    case MNC_EXECUTE: return Execute(inner, position);
    case MNC_SELECT:
        if (static_cast<size_t>(position) < level.items.size()) Select(level, position);
        return {};
    case MNC_CLOSE: return {true, 0};
    default: return {};
    }
}

// A click on the entry with that id, in the innermost open menu first.
Outcome Tracker::Choose(UINT id) {
    for (size_t l = m_levels.size(); l-- > 0;) {
        const Level& level = m_levels[l];
        for (size_t i = 0; i < level.items.size(); ++i) {
            const MenuItem& item = level.items[i];
            if (item.submenu == nullptr && (item.type & MF_SEPARATOR) == 0 && static_cast<UINT>(item.id) == id) {
                while (m_levels.size() > l + 1) CloseInnermost();
                return Execute(l, static_cast<int>(i));
            }
        }
    }
    return {};
}

Outcome Tracker::Apply(const Step& step) {
    switch (step.kind) {
    case StepKind::Down: Move(+1, false); return {};
    case StepKind::Up: Move(-1, false); return {};
    case StepKind::Home: Move(+1, true); return {};
    case StepKind::End: Move(-1, true); return {};
    case StepKind::Right: {
        const Level& level = m_levels.back();
        if (level.selected >= 0 && level.items[static_cast<size_t>(level.selected)].submenu != nullptr) {
            return Execute(m_levels.size() - 1, level.selected);
        }
        return {};
    }
    case StepKind::Left:
        if (m_levels.size() > 1) CloseInnermost();
        return {};
    case StepKind::Enter: return Execute(m_levels.size() - 1, m_levels.back().selected);
    case StepKind::Key: return TypeKey(step.value);
    case StepKind::Choose: return Choose(step.value);
    case StepKind::Esc:
        if (m_levels.size() > 1) {
            CloseInnermost();
            return {};
        }
        return {true, 0};
    case StepKind::Dismiss: return {true, 0};
    }
    return {};
}

// The menu font of the system's metrics, made once per thread (the metrics
// of this headless system never change).
HFONT MenuFont() {
    struct Font {
        HFONT handle = nullptr;
        Font() {
            NONCLIENTMETRICSA ncm{};
            ncm.cbSize = sizeof ncm;
            if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
                handle = CreateFontIndirectA(&ncm.lfMenuFont);
            }
        }
        ~Font() {
            if (handle != nullptr) DeleteObject(handle);
        }
    };
    static thread_local Font font;
    return font.handle;
}

UINT Tracker::Run(HMENU menu, int x, int y) {
    m_font = MenuFont();
    if (Notify()) SendMessageA(m_owner, WM_ENTERMENULOOP, TRUE, 0);
    Outcome outcome;
    if (Open(menu, 0, POINT{x, y}, nullptr)) {
        t_lastRect = m_levels.front().frame;
        t_haveRect = true;
        while (!outcome.done && !t_steps.empty()) {
            const Step step = t_steps.front();
            t_steps.pop_front();
            outcome = Apply(step);
        }
    }
    while (!m_levels.empty()) CloseInnermost();
    SendMessageA(m_owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    if (Notify()) SendMessageA(m_owner, WM_EXITMENULOOP, TRUE, 0);
    return outcome.id;
}

}  // namespace

extern "C" {

WINUSERAPI BOOL WINAPI TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hwnd, LPTPMPARAMS lptpm) {
    (void)lptpm;  // the rectangle to avoid: a headless menu covers nothing anyone sees
    if (!LookupMenu(hMenu)) return FALSE;
    if (!LookupWindow(hwnd)) return FALSE;
    if (t_tracking) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }
    t_tracking = true;
    UINT id = 0;
    try {
        Tracker tracker(hwnd, uFlags);
        id = tracker.Run(hMenu, x, y);
    } catch (...) {
        t_tracking = false;
        throw;
    }
    t_tracking = false;
    if ((uFlags & TPM_RETURNCMD) != 0) return static_cast<BOOL>(id);
    if (id != 0 && (uFlags & TPM_NONOTIFY) == 0) PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return TRUE;
}

WINUSERAPI BOOL WINAPI TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd,
                                      const RECT* prcRect) {
    (void)nReserved;
    (void)prcRect;
    return TrackPopupMenuEx(hMenu, uFlags, x, y, hWnd, nullptr);
}

WINPORT_API BOOL WINAPI WpSetMenuInput(LPCSTR lpszScript) {
    std::deque<Step> steps;
    if (lpszScript != nullptr) {
        const std::string script(lpszScript);
        size_t pos = 0;
        while (pos < script.size()) {
            const size_t start = script.find_first_not_of(" \t\r\n", pos);
            if (start == std::string::npos) break;
            size_t end = script.find_first_of(" \t\r\n", start);
            if (end == std::string::npos) end = script.size();
            Step step{StepKind::Dismiss};
            if (!ParseStep(script.substr(start, end - start), step)) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return FALSE;
            }
            steps.push_back(step);
            pos = end;
        }
    }
    t_steps = std::move(steps);
    return TRUE;
}

WINPORT_API int WINAPI WpGetMenuInputLeft(void) {
    return static_cast<int>(t_steps.size());
}

WINPORT_API BOOL WINAPI WpGetTrackedMenuRect(LPRECT lprc) {
    if (!t_haveRect || lprc == nullptr) return FALSE;
    *lprc = t_lastRect;
    return TRUE;
}

}  // extern "C"
