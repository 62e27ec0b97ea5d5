// TrackPopupMenuEx's headless menu loop driven by winport's input script.
//
// Linux build only: the system's TrackPopupMenuEx waits for a person (under
// Wine it would block the test program), and the script is winport's own.
#include <afxwin.h>
#include <winport.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kernel_test_support.h"

namespace {

using xwth_test::Returns;

COLORREF ItemColour(ULONG_PTR data, bool selected) {
    return selected ? RGB(0, 0, 200) : RGB(40 * static_cast<int>(data), 100, 50);
}

// An owner that measures entry data d as 100 x (20 + d), fills each entry
// with a colour of its data, answers WM_MENUCHAR for 'x' with position 2 and
// for 'c' with MNC_CLOSE, and logs what it is asked.
struct Owner {
    std::vector<std::string> log;
    HWND hWnd = nullptr;

    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (self == nullptr) return DefWindowProcA(hWnd, msg, wParam, lParam);
        auto add = [&](std::string word) { self->log.push_back(std::move(word)); };
        switch (msg) {
        case WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            std::string w = "measure:";
            w += std::to_string(mis->itemData);
            add(w);
            mis->itemWidth = 100;
            mis->itemHeight = 20 + static_cast<UINT>(mis->itemData);
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            std::string w = dis->itemAction == ODA_DRAWENTIRE ? "entire:" : "select:";
            w += std::to_string(dis->itemID);
            w += (dis->itemState & ODS_SELECTED) != 0 ? "+" : "";
            w += (dis->itemState & ODS_GRAYED) != 0 ? "g" : "";
            w += "@";
            w += std::to_string(dis->rcItem.top);
            add(w);
            HBRUSH brush = CreateSolidBrush(ItemColour(dis->itemData, (dis->itemState & ODS_SELECTED) != 0));
            FillRect(dis->hDC, &dis->rcItem, brush);
            DeleteObject(brush);
            return TRUE;
        }
        case WM_MENUCHAR: {
            std::string w = "menuchar:";
            w += static_cast<char>(LOWORD(wParam));
            add(w);
            if (LOWORD(wParam) == 'x') return MAKELRESULT(2, MNC_EXECUTE);
            if (LOWORD(wParam) == 'c') return MAKELRESULT(0, MNC_CLOSE);
            return 0;
        }
        case WM_INITMENUPOPUP: {
            std::string w = "init:";
            w += std::to_string(LOWORD(lParam));
            add(w);
            return 0;
        }
        default:
            return DefWindowProcA(hWnd, msg, wParam, lParam);
        }
    }

    Owner() {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = Proc;
            wc.lpszClassName = "XwthMenuOwner";
            return RegisterClassA(&wc);
        }();
        hWnd = CreateWindowExA(0, MAKEINTATOM(atom), "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Owner() { DestroyWindow(hWnd); }
};

// Owner-drawn 11, 12, 13 (data 1, 2, 3), a separator, grayed 15 (data 5).
HMENU MakeMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_OWNERDRAW, 11, reinterpret_cast<LPCSTR>(1));
    AppendMenuA(menu, MF_OWNERDRAW, 12, reinterpret_cast<LPCSTR>(2));
    AppendMenuA(menu, MF_OWNERDRAW, 13, reinterpret_cast<LPCSTR>(3));
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_OWNERDRAW | MF_GRAYED, 15, reinterpret_cast<LPCSTR>(5));
    return menu;
}

TEST(TrackMenuTest, OwnerMeasuresAndDrawsAndAScriptedKeyChooses) {
    Owner owner;
    HMENU menu = MakeMenu();
    ASSERT_TRUE(WpSetMenuInput("down down key:x"));
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 300, 200, owner.hWnd, nullptr), 13);
    EXPECT_EQ(owner.log, (std::vector<std::string>{
                             "init:0", "measure:1", "measure:2", "measure:3", "measure:5",
                             "entire:11@0", "entire:12@21", "entire:13@43", "entire:15g@74",
                             "select:11+@0", "select:11@0", "select:12+@21",
                             "menuchar:x", "select:12@21", "select:13+@43"}));

    // The last picture stays on the screen: inside the frame, entry 13 selected.
    RECT frame;
    ASSERT_TRUE(WpGetTrackedMenuRect(&frame));
    const int fx = GetSystemMetrics(SM_CXFRAME);
    const int fy = GetSystemMetrics(SM_CYFRAME);
    EXPECT_EQ(frame.left, 300);
    EXPECT_EQ(frame.top, 200);
    EXPECT_EQ(frame.right - frame.left, 100 + 2 * fx);
    EXPECT_EQ(frame.bottom - frame.top, 21 + 22 + 23 + 8 + 25 + 2 * fy);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, 300 + fx + 50, 200 + fy + 30), ItemColour(2, false));
    EXPECT_EQ(GetPixel(screen, 300 + fx + 99, 200 + fy + 43), ItemColour(3, true));
    EXPECT_NE(GetPixel(screen, 300, 200), ItemColour(1, false)) << "the frame is drawn around the entries";
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(GetMenuState(menu, 13, MF_BYCOMMAND) & MF_HILITE, 0u) << "the highlight goes with the menu";
    DestroyMenu(menu);
}

TEST(TrackMenuTest, ScriptsEndInAChoiceOrADismissal) {
    const struct {
        const char* script;
        UINT flags;
        BOOL result;
        UINT posted;  // WM_COMMAND id found in the queue, 0 for none
        int left;     // steps not used
    } cases[] = {
        {"dismiss", TPM_RETURNCMD, 0, 0, 0},
        {"", TPM_RETURNCMD, 0, 0, 0},
        {"down enter", TPM_RETURNCMD, 11, 0, 0},
        {"down enter", 0, TRUE, 11, 0},
        {"down enter", TPM_NONOTIFY, TRUE, 0, 0},
        {"esc", 0, TRUE, 0, 0},
        {"end enter", TPM_RETURNCMD, 0, 0, 0},  // the grayed entry is not chosen
        {"up up enter down", TPM_RETURNCMD, 13, 0, 1},  // wraps to the end, skips the separator
        {"choose:12 down", TPM_RETURNCMD, 12, 0, 1},
        {"choose:99 key:q key:c down", TPM_RETURNCMD, 0, 0, 1},  // unknown id, MNC_IGNORE, MNC_CLOSE
        {"HOME Enter", TPM_RETURNCMD, 11, 0, 0},
    };
    Owner owner;
    HMENU menu = MakeMenu();
    for (size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(WpSetMenuInput(cases[i].script)) << "case " << i;
        EXPECT_EQ(TrackPopupMenuEx(menu, cases[i].flags, 10, 10, owner.hWnd, nullptr), cases[i].result)
            << "case " << i;
        EXPECT_EQ(WpGetMenuInputLeft(), cases[i].left) << "case " << i;
        MSG msg{};
        UINT posted = 0;
        while (PeekMessageA(&msg, owner.hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE)) posted = LOWORD(msg.wParam);
        EXPECT_EQ(posted, cases[i].posted) << "case " << i;
    }
    DestroyMenu(menu);
}

TEST(TrackMenuTest, SubmenusAreMeasuredWhenTheyOpen) {
    Owner owner;
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_OWNERDRAW, 21, reinterpret_cast<LPCSTR>(6));
    AppendMenuA(sub, MF_OWNERDRAW, 22, reinterpret_cast<LPCSTR>(7));
    AppendMenuA(menu, MF_OWNERDRAW, 11, reinterpret_cast<LPCSTR>(1));
    AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), "&More");
    ASSERT_TRUE(WpSetMenuInput("key:m down enter"));
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTALIGN, 1020, 10, owner.hWnd, nullptr), 22);
    EXPECT_EQ(owner.log, (std::vector<std::string>{"init:0", "measure:1", "entire:11@0", "init:1", "measure:6",
                                                   "measure:7", "entire:21@0", "entire:22@26", "select:21+@0",
                                                   "select:21@0", "select:22+@26"}));
    RECT frame;
    ASSERT_TRUE(WpGetTrackedMenuRect(&frame));
    EXPECT_EQ(frame.right, 1020) << "right-aligned at x";
    DestroyMenu(menu);
}

// The system draws the arrow of an owner-drawn popup entry over what its
// owner drew, in the menu text colour, and nothing on a plain entry.
TEST(TrackMenuTest, OwnerDrawnPopupEntriesGetTheSubmenuArrow) {
    Owner owner;
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_OWNERDRAW, 21, reinterpret_cast<LPCSTR>(6));
    AppendMenuA(menu, MF_OWNERDRAW, 11, reinterpret_cast<LPCSTR>(1));
    AppendMenuA(menu, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), reinterpret_cast<LPCSTR>(4));
    ASSERT_TRUE(WpSetMenuInput("dismiss"));
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 100, 100, owner.hWnd, nullptr), 0);
    RECT frame;
    ASSERT_TRUE(WpGetTrackedMenuRect(&frame));
    HDC screen = GetDC(nullptr);
    const int left = frame.left + GetSystemMetrics(SM_CXFRAME);
    const int right = frame.right - GetSystemMetrics(SM_CXFRAME);
    const int top = frame.top + GetSystemMetrics(SM_CYFRAME);
    const COLORREF arrow = GetSysColor(COLOR_MENUTEXT);
    // Entry 11 is 21 pixels high, the popup entry 24 below it.
    auto arrowPixels = [&](int y0, int y1, COLORREF fill) {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = left; x < right; ++x) {
                const COLORREF c = GetPixel(screen, x, y);
                if (c == arrow) {
                    ++n;
                    EXPECT_GE(x, right - GetSystemMetrics(SM_CXMENUCHECK) - 4) << "arrow at " << x << "," << y;
                } else {
                    EXPECT_EQ(c, fill) << x << "," << y;
                }
            }
        }
        return n;
    };
    EXPECT_EQ(arrowPixels(top, top + 21, ItemColour(1, false)), 0);
    EXPECT_EQ(arrowPixels(top + 21, top + 45, ItemColour(4, false)), 7 + 5 + 3 + 1);
    ReleaseDC(nullptr, screen);
    DestroyMenu(menu);
}

// The framework path a library menu takes: the owner's default handlers
// find the menu object through the thread state (measure) and the handle
// map (draw).
class ObjectMenu : public CMenu {
public:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override {
        const _AFX_THREAD_STATE* state = AfxGetThreadState();
        trackedHere = state->m_hTrackingMenu == m_hMenu && state->m_hTrackingWindow != NULL;
        lpMIS->itemWidth = 50;
        lpMIS->itemHeight = 18;
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override { drawn.push_back(lpDIS->itemID); }
    bool trackedHere = false;
    std::vector<UINT> drawn;
};

TEST(TrackMenuTest, FrameworkMenusAreFoundThroughTheThreadState) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, "owner", WS_POPUP, 0, 0, 1, 1, NULL, NULL));
    ObjectMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_OWNERDRAW, 31, reinterpret_cast<LPCTSTR>(1));
    menu.AppendMenu(MF_OWNERDRAW, 32, reinterpret_cast<LPCTSTR>(2));
    ASSERT_TRUE(WpSetMenuInput("end enter"));
    EXPECT_EQ(menu.TrackPopupMenuEx(TPM_RETURNCMD, 5, 5, &owner, NULL), 32);
    EXPECT_TRUE(menu.trackedHere);
    EXPECT_EQ(menu.drawn, (std::vector<UINT>{31, 32, 32}));
    EXPECT_EQ(AfxGetThreadState()->m_hTrackingMenu, nullptr) << "restored after the call";
    EXPECT_EQ(AfxGetThreadState()->m_hTrackingWindow, nullptr);
}

TEST(TrackMenuTest, BadArgumentsFailTheWindowsWay) {
    Owner owner;
    HMENU gone = CreatePopupMenu();
    DestroyMenu(gone);
    HMENU menu = MakeMenu();
    EXPECT_EQ(WITH_LAST_ERROR(TrackPopupMenuEx(gone, 0, 0, 0, owner.hWnd, nullptr)),
              Returns(FALSE, ERROR_INVALID_MENU_HANDLE));
    EXPECT_EQ(WITH_LAST_ERROR(TrackPopupMenuEx(menu, 0, 0, 0, nullptr, nullptr)),
              Returns(FALSE, ERROR_INVALID_WINDOW_HANDLE));
    ASSERT_TRUE(WpSetMenuInput("down"));
    EXPECT_EQ(WITH_LAST_ERROR(WpSetMenuInput("down jump")), Returns(FALSE, ERROR_INVALID_PARAMETER));
    EXPECT_EQ(WpGetMenuInputLeft(), 1) << "the steps stay as they were";
    ASSERT_TRUE(WpSetMenuInput(nullptr));
    EXPECT_EQ(WpGetMenuInputLeft(), 0);
    DestroyMenu(menu);
}

}  // namespace
