// The framework's windows, message maps and menus: dispatch, default owner-draw
// routing, handle maps and ownership.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// "name:a:b..." built by appending (GCC 12 warns falsely on "literal" + std::string).
template <class... T>
std::string Word(const char* name, const T&... parts) {
    std::string w = name;
    ((w += ':', w += parts), ...);
    return w;
}
std::string Num(long long v) {
    return std::to_string(v);
}

// A menu that records what it was asked to draw and measure.
class RecordingMenu : public CMenu {
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override { log.push_back(Word("draw", Num(lpDIS->itemID))); }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override {
        log.push_back(Word("measure", Num(lpMIS->itemID)));
        lpMIS->itemHeight = 22;
    }
    std::vector<std::string> log;
};

// Handles WM_MENUCHAR, a command and a private message; leaves owner draw
// to CWnd's defaults.
class OwnerWnd : public CWnd {
public:
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) {
        log.push_back(Word("menuchar", std::string(1, static_cast<char>(nChar)), Num(nFlags)));
        lastMenu = pMenu;
        return MAKELRESULT(3, MNC_EXECUTE);
    }
    afx_msg void OnSave() { log.push_back("save"); }
    afx_msg LRESULT OnPrivate(WPARAM wParam, LPARAM lParam) {
        // Default() gives the message to the default procedure: here WM_USER + 5 answers 0.
        log.push_back(Word("private", Num(static_cast<long long>(wParam)), Num(lParam), Num(Default())));
        return 77;
    }
    void PostNcDestroy() override { log.push_back("postncdestroy"); }

    std::vector<std::string> log;
    CMenu* lastMenu = nullptr;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OwnerWnd, CWnd)
    ON_WM_MENUCHAR()
    ON_COMMAND(501, OnSave)
    ON_MESSAGE(WM_USER + 5, OnPrivate)
END_MESSAGE_MAP()

TEST(AfxWndTest, MessageMapDispatchesBySignature) {
    OwnerWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "owner", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    HMENU hMenu = CreatePopupMenu();
    EXPECT_EQ(wnd.SendMessage(WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP), reinterpret_cast<LPARAM>(hMenu)),
              MAKELRESULT(3, MNC_EXECUTE));
    ASSERT_NE(wnd.lastMenu, nullptr);
    EXPECT_EQ(wnd.lastMenu->m_hMenu, hMenu) << "a temporary CMenu for an unattached menu";
    EXPECT_EQ(CMenu::FromHandlePermanent(hMenu), nullptr);
    EXPECT_EQ(wnd.SendMessage(WM_COMMAND, MAKEWPARAM(501, 0), 0), 1);
    EXPECT_EQ(wnd.SendMessage(WM_COMMAND, MAKEWPARAM(502, 0), 0), 0) << "no handler";
    EXPECT_EQ(wnd.SendMessage(WM_USER + 5, 2, 3), 77);
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"menuchar:x:16", "save", "private:2:3:0"}));

    // Messages without an entry reach the default procedure.
    wnd.SetWindowText("renamed");
    CString text;
    wnd.GetWindowText(text);
    EXPECT_STREQ(text, "renamed");

    HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr) << "WM_NCDESTROY unties the object";
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_EQ(wnd.log.back(), "postncdestroy");
    DestroyMenu(hMenu);
}

// One registered class per combination of style, cursor, brush and icon;
// a framework window of such a class still answers through its map.
TEST(AfxWndTest, RegisteredClassesAreSharedAndRouted) {
    HBRUSH brush = GetSysColorBrush(COLOR_MENU);
    const std::string first = AfxRegisterWndClass(CS_DBLCLKS, NULL, brush);
    EXPECT_EQ(first.rfind("Afx:", 0), 0u) << first;
    EXPECT_EQ(first, AfxRegisterWndClass(CS_DBLCLKS, NULL, brush));
    EXPECT_NE(first, AfxRegisterWndClass(0, NULL, brush));
    WNDCLASSA wc{};
    HINSTANCE inst = AfxGetInstanceHandle() != NULL ? AfxGetInstanceHandle() : GetModuleHandleA(NULL);
    ASSERT_TRUE(GetClassInfoA(inst, first.c_str(), &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(wc.hbrBackground, brush);

    OwnerWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, first.c_str(), "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(wnd.SendMessage(WM_USER + 5, 1, 2), 77);
    EXPECT_TRUE(wnd.DestroyWindow());
}

TEST(AfxWndTest, DefaultOwnerDrawHandlersFindTheMenuObject) {
    OwnerWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "owner", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    RecordingMenu top;
    RecordingMenu sub;
    ASSERT_TRUE(top.CreatePopupMenu());
    ASSERT_TRUE(sub.CreatePopupMenu());
    ASSERT_TRUE(sub.AppendMenu(MF_OWNERDRAW, 21, reinterpret_cast<LPCTSTR>(1)));
    ASSERT_TRUE(top.AppendMenu(MF_OWNERDRAW, 11, reinterpret_cast<LPCTSTR>(2)));
    ASSERT_TRUE(top.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.m_hMenu), "sub"));

    // Drawing goes to the menu object tied to the entry's menu handle.
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = 21;
    dis.hwndItem = reinterpret_cast<HWND>(sub.m_hMenu);
    EXPECT_EQ(wnd.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
    dis.itemID = 11;
    dis.hwndItem = reinterpret_cast<HWND>(top.m_hMenu);
    wnd.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));

    // Measuring finds the (sub)menu holding the id, starting at the menu the
    // thread state names as tracked for this window; otherwise nobody measures.
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = 21;
    wnd.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(mis.itemHeight, 0u) << "no menu is tracked";
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    state->m_hTrackingWindow = wnd.m_hWnd;
    state->m_hTrackingMenu = top.m_hMenu;
    wnd.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    mis.itemID = 11;
    wnd.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    state->m_hTrackingWindow = NULL;
    state->m_hTrackingMenu = NULL;
    EXPECT_EQ(mis.itemHeight, 22u);
    EXPECT_EQ(sub.log, (std::vector<std::string>{"draw:21", "measure:21"}));
    EXPECT_EQ(top.log, (std::vector<std::string>{"draw:11", "measure:11"}));

    // Destroying the top menu destroys the submenu under its object, whose
    // own DestroyMenu then only lets go of the handle.
    HMENU hSub = sub.m_hMenu;
    EXPECT_TRUE(top.DestroyMenu());
    EXPECT_FALSE(IsMenu(hSub));
    EXPECT_FALSE(sub.DestroyMenu());
    EXPECT_EQ(sub.m_hMenu, nullptr);
    EXPECT_EQ(CMenu::FromHandlePermanent(hSub), nullptr);
}

TEST(AfxWndTest, ObjectsOwnWhatTheyAttach) {
    HMENU hMenu;
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        hMenu = menu.m_hMenu;
        EXPECT_EQ(CMenu::FromHandle(hMenu), &menu);
        EXPECT_FALSE(menu.Attach(CreatePopupMenu())) << "already attached";
    }
    EXPECT_FALSE(IsMenu(hMenu)) << "the destructor destroys the menu";

    HMENU kept = CreatePopupMenu();
    {
        CMenu menu;
        menu.Attach(kept);
        EXPECT_EQ(menu.Detach(), kept);
    }
    EXPECT_TRUE(IsMenu(kept)) << "a detached menu is the caller's again";
    CMenu* temp = CMenu::FromHandle(kept);
    EXPECT_EQ(CMenu::FromHandle(kept), temp) << "one temporary per handle";
    EXPECT_FALSE(temp->IsKindOf(RUNTIME_CLASS(CWnd)));
    CMenu::DeleteTempMap();
    EXPECT_TRUE(IsMenu(kept)) << "temporaries own nothing";
    DestroyMenu(kept);

    HWND hWnd;
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, NULL, "w", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(hWnd)) << "the destructor destroys the window";
}

TEST(AfxWndTest, StaticControlsAreSystemStaticsUnderTheMap) {
    OwnerWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, NULL, "parent", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    CStatic label;
    ASSERT_TRUE(label.Create("Fax &number", WS_CHILD | SS_LEFT, RECT{1, 2, 51, 22}, &parent, 77));
    EXPECT_EQ(label.GetDlgCtrlID(), 77);
    EXPECT_EQ(parent.GetDlgItem(77), &label);
    CString text;
    label.GetWindowText(text);
    EXPECT_STREQ(text, "Fax &number");
    EXPECT_TRUE(label.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_EQ(GetWindowLongPtrA(label.m_hWnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&AfxWndProc))
        << "subclassed, so its messages pass through the map";
    HWND hLabel = label.m_hWnd;
    EXPECT_TRUE(parent.DestroyWindow());
    EXPECT_FALSE(IsWindow(hLabel));
    EXPECT_EQ(label.m_hWnd, nullptr) << "the child's object is untied with its window";
}

}  // namespace
