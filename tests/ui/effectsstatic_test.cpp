// CEffectsStatic acts as a plain static control: made through Create or by
// subclassing a static window, it answers as a CStatic and a bare "Static"
// window do.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include <xwth/bitmaps.h>

namespace {

// Gives the test the protected message map accessor.
class ProbeStatic : public CEffectsStatic {
public:
    static const AFX_MSGMAP* Map() { return GetThisMessageMap(); }
    static const AFX_MSGMAP* StaticMap() { return CStatic::GetThisMessageMap(); }
};

std::string ClassName(HWND hWnd) {
    char name[64] = {};
    return GetClassNameA(hWnd, name, sizeof name) ? name : "";
}

std::string Text(HWND hWnd) {
    char text[64] = {};
    return GetWindowTextA(hWnd, text, sizeof text) ? text : "";
}

class EffectsStaticTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_parent = CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 0, 0, 200, 100, NULL, NULL, NULL, NULL);
        ASSERT_NE(m_parent, nullptr);
        ASSERT_TRUE(m_parentWnd.Attach(m_parent));
    }
    void TearDown() override { m_parentWnd.DestroyWindow(); }

    HWND m_parent = NULL;
    CWnd m_parentWnd;
};

TEST_F(EffectsStaticTest, RunTimeClassAndEmptyMapChainedToTheStatic) {
    CEffectsStatic label;
    CRuntimeClass* cls = label.GetRuntimeClass();
    EXPECT_STREQ(cls->m_lpszClassName, "CEffectsStatic");
    EXPECT_EQ(cls, CEffectsStatic::GetThisClass());
    EXPECT_EQ(cls->m_pBaseClass, RUNTIME_CLASS(CStatic));
    EXPECT_EQ(cls->m_pfnCreateObject, nullptr);
    EXPECT_EQ(cls->m_wSchema, 0xFFFFu);
    EXPECT_TRUE(label.IsKindOf(RUNTIME_CLASS(CStatic)));
    const AFX_MSGMAP* map = ProbeStatic::Map();
    EXPECT_EQ(map->lpEntries[0].nSig, static_cast<UINT_PTR>(AfxSig_end));
    EXPECT_EQ(map->pfnGetBaseMap(), ProbeStatic::StaticMap());
}

// The same questions put to a bare static window and to a CEffectsStatic,
// made by Create or subclassing a static, must get the same answers; letting
// go of a subclassed window gives it its own procedure back.
TEST_F(EffectsStaticTest, AnswersAsAPlainStatic) {
    const DWORD styles[] = {SS_LEFT, SS_CENTER | SS_NOPREFIX, SS_LEFT | SS_NOTIFY};
    for (size_t i = 0; i < std::size(styles); ++i) {
        for (int how = 0; how < 3; ++how) {
            const std::string where = "style " + std::to_string(i) + " way " + std::to_string(how);
            const DWORD style = WS_CHILD | WS_VISIBLE | styles[i];
            CEffectsStatic label;
            HWND hWnd = CreateWindowExA(0, "STATIC", "Label", style, 10, 10, 100, 20, m_parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(41)), NULL, NULL);
            const LONG_PTR own = GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
            if (how == 1) {
                DestroyWindow(hWnd);
                ASSERT_TRUE(label.Create("Label", style, RECT{10, 10, 110, 30}, &m_parentWnd, 41)) << where;
                hWnd = label.GetSafeHwnd();
            } else if (how == 2) {
                ASSERT_TRUE(label.SubclassWindow(hWnd)) << where;
                EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &label) << where;
            }
            EXPECT_EQ(ClassName(hWnd), "Static") << where;
            EXPECT_EQ(GetDlgCtrlID(hWnd), 41) << where;
            EXPECT_EQ(Text(hWnd), "Label") << where;
            EXPECT_TRUE(SetWindowTextA(hWnd, "Other text")) << where;
            EXPECT_EQ(Text(hWnd), "Other text") << where;
            EXPECT_EQ(SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(20, 20)),
                      (styles[i] & SS_NOTIFY) != 0 ? HTCLIENT : HTTRANSPARENT) << where;
            EXPECT_EQ(GetWindowLongA(hWnd, GWL_STYLE) & 0xFFFF, static_cast<LONG>(styles[i])) << where;
            if (how == 2) {
                EXPECT_EQ(label.UnsubclassWindow(), hWnd) << where;
                EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_WNDPROC), own) << where;
            }
            if (how != 1) DestroyWindow(hWnd);
        }
    }
}

}  // namespace
