// T0MessageBox as a scripted presenter sees it: owner, text, title, style.
// (Only winport lets a test answer a message box.)
#include <xwth/msgbox.h>
#include <xwth/resourcemanager.h>

#include <winport.h>

#include <gtest/gtest.h>

#include <TQTH.h>

#include <string>

#include "support/resfixtures.h"

namespace {

struct Seen {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

Seen g_seen;

int Record(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    g_seen = {owner, text, caption, type};
    return IDCANCEL;
}

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = WpSetMessageBoxPresenter(Record);
        m_savedName = gszProgramName;
        g_seen = {};
    }
    void TearDown() override {
        WpSetMessageBoxPresenter(m_previous);
        gszProgramName = m_savedName;
    }

    WpMessageBoxPresenter m_previous = nullptr;
    CString m_savedName;
};

const std::string kBlanks(36, ' ');

TEST_F(MessageBoxTest, ShowsTheProductNameForTheMakersName) {
    const struct {
        const char* product;
        const char* text;
        std::string want;
    } cases[] = {
        {"Acme Fax", "Corvantis is ready. Restart Corvantis?", "Acme Fax is ready. Restart Acme Fax?"},
        {"Corvantis Fax", "Corvantis is ready. Restart Corvantis?",
         "Corvantis Fax is ready. Restart Corvantis Fax?"},
        {"Acme Fax", "corvantis stays", "corvantis stays"},
        {"Acme Fax", "", ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        gszProgramName = cases[i].product;
        EXPECT_EQ(T0MessageBox(static_cast<HWND>(NULL), cases[i].text, MB_OKCANCEL | MB_ICONQUESTION), IDCANCEL)
            << "case " << i;
        EXPECT_EQ(g_seen.text, cases[i].want + kBlanks) << "case " << i;
        EXPECT_EQ(g_seen.caption, cases[i].product) << "case " << i;
        EXPECT_EQ(g_seen.type, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION)) << "case " << i;
    }
}

TEST_F(MessageBoxTest, OwnerAndTextComeFromWindowAndResourceId) {
    gszProgramName = "Acme Fax";
    CResourceManager& manager = GetResourceManager();
    ASSERT_TRUE(manager.RegisterResourceModule(CString(xwth_test::FixtureModule("resmod_a.dll").c_str()), 3));
    CWnd window;
    window.m_hWnd = reinterpret_cast<HWND>(0x1234);

    T0MessageBox(&window, 1u, MB_OK);
    EXPECT_EQ(g_seen.owner, window.m_hWnd);
    EXPECT_EQ(g_seen.text, "Acme Fax Setup - Acme Fax" + kBlanks);
    T0MessageBox(static_cast<CWnd*>(NULL), "text", MB_OK);
    EXPECT_EQ(g_seen.owner, static_cast<HWND>(NULL));
    T0MessageBox(window.m_hWnd, 999u, MB_YESNO);
    EXPECT_EQ(g_seen.text, kBlanks) << "a text found nowhere still shows a box";
    EXPECT_EQ(g_seen.type, static_cast<UINT>(MB_YESNO));
    window.m_hWnd = NULL;
    manager.UnRegisterResourceModule(WORD(3));
}

}  // namespace
