// The owner-drawn menu tracked through TrackPopupMenuEx and its owner
// window, on winport's virtual screen, driven by the menu input script.
//
// Linux build only: the script and the screen are winport's; the system's
// menu loop under Wine would wait for a person.
#include <xwth/custmenu.h>
#include <winport.h>

#include <gtest/gtest.h>

#include "support/resfixtures.h"

namespace {

constexpr COLORREF kFrom = RGB(0, 0, 0);
constexpr COLORREF kTo = RGB(0, 0, 255);

// "&Open" (image, bold), "&Print" (checked), "&Delete" (grayed), a
// separator, "&More" (a CCustMenu holding "&Zoom"), "E&xit"; a ribbon.
struct Sample {
    CCustMenu menu;
    CCustMenu* sub = new CCustMenu;  // the parent destroys its handle; we delete the object
    CTrackMenuWnd owner;

    Sample() {
        EXPECT_TRUE(menu.Create());
        EXPECT_TRUE(sub->Create());
        EXPECT_TRUE(menu.LoadBitmap(LoadLibraryExA(xwth_test::FixtureModule("menures.dll").c_str(), NULL,
                                                   LOAD_LIBRARY_AS_DATAFILE), "STRIP"));
        menu.AttachRibbon("XWTH", kFrom, kTo, 8, RGB(255, 255, 255));
        menu.AppendMenuItem(0, 1, new CCustMenuItem("&Open", 0, 1));
        menu.AppendMenuItem(MF_CHECKED, 2, new CCustMenuItem("&Print", -1, 0));
        menu.AppendMenuItem(MF_GRAYED, 3, new CCustMenuItem("&Delete", -1, 0));
        menu.AppendMenu(MF_SEPARATOR);
        sub->AppendMenuItem(0, 10, new CCustMenuItem("&Zoom", -1, 0));
        menu.AppendMenuItem(MF_POPUP, reinterpret_cast<UINT_PTR>(sub->GetSafeHmenu()),
                            new CCustMenuItem("&More", -1, 0));
        menu.AppendMenuItem(0, 4, new CCustMenuItem("E&xit", -1, 0));
        EXPECT_TRUE(owner.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 1, 1, NULL, NULL));
    }
    ~Sample() {
        owner.DestroyWindow();
        delete sub;
    }
    UINT Track(const char* script) {
        EXPECT_TRUE(WpSetMenuInput(script));
        return static_cast<UINT>(menu.TrackPopupMenuEx(TPM_RETURNCMD, 100, 100, &owner, NULL));
    }
};

TEST(CustMenuTrackTest, ScriptedKeysAndSelectionsChooseThroughTheOwnerWindow) {
    const struct {
        const char* script;
        UINT want;
    } cases[] = {{"key:x", 4},       {"key:X", 4},      {"down enter", 1}, {"down down enter", 2},
                 {"key:d", 0},       {"key:q", 0},      {"key:m enter", 10}, {"key:m key:z", 10},
                 {"up left esc", 0}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        Sample s;
        EXPECT_EQ(s.Track(cases[i].script), cases[i].want) << "case " << i;
        EXPECT_EQ(AfxGetThreadState()->m_hTrackingMenu, static_cast<HMENU>(NULL)) << "case " << i;
    }
}

TEST(CustMenuTrackTest, ScreenShowsRibbonHighlightAndHeight) {
    Sample s;
    EXPECT_EQ(s.Track("down dismiss"), 0u);
    RECT frame{};
    ASSERT_TRUE(WpGetTrackedMenuRect(&frame));
    EXPECT_EQ(frame.bottom - frame.top, s.menu.GetMenuHeight());
    EXPECT_EQ(s.menu.m_DrawAttrs.nDrawnCount, 5 + 1) << "one whole pass and the selection change";
    const int x0 = frame.left + GetSystemMetrics(SM_CXFRAME);
    const int y0 = frame.top + GetSystemMetrics(SM_CYFRAME);
    const int inner = frame.bottom - frame.top - 2 * GetSystemMetrics(SM_CYFRAME);
    HDC screen = GetDC(NULL);
    EXPECT_EQ(GetPixel(screen, x0 + 29, y0), kFrom) << "the first band";
    const int band = inner / 8;
    const COLORREF last = inner - 8 * band > 0 ? kTo : RGB(0, 0, 7 * (255 / 8));
    EXPECT_EQ(GetPixel(screen, x0 + 29, y0 + inner - 1), last) << "the bottom of the ribbon";
    EXPECT_EQ(GetPixel(screen, x0 + 30 + 1, y0), GetSysColor(COLOR_3DHILIGHT)) << "raised image column";
    EXPECT_EQ(GetPixel(screen, x0 + 30 + 1 + 3 + 8, y0 + 11), RGB(128, 0, 0)) << "the image";
    EXPECT_EQ(GetPixel(screen, x0 + 30 + 24, y0 + 1), GetSysColor(COLOR_HIGHLIGHT)) << "selected text area";
    EXPECT_EQ(GetPixel(screen, x0 + 30 + 24, y0 + 22 + 1), GetSysColor(COLOR_MENU)) << "the next item";
    ReleaseDC(NULL, screen);
}

}  // namespace
