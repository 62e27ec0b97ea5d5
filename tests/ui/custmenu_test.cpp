// The owner-drawn menu: item bookkeeping and ownership, the accelerator
// search, the height query, popup graying, the owner window's routing, and
// the pixels of items and ribbons drawn into a memory DC. Runs in both
// builds: under Wine the system's own GDI and menus answer.
#include <xwth/custmenu.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/gdi_test_support.h"
#include "support/resfixtures.h"

namespace {

using xwth_test::Canvas;

// An item whose validity marker is wrong, as garbage item data would be.
struct BrokenItem : CCustMenuItem {
    BrokenItem() : CCustMenuItem("x", -1, 0) { m_nStructSize = 1; }
};

// The tests' resource module: "STRIP", three 16x16 images on magenta
// (maroon, green and navy squares 2 pixels in), and the ribbon bitmaps.
HMODULE Resources() {
    static const HMODULE module =
        LoadLibraryExA(xwth_test::FixtureModule("menures.dll").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

// The smallest rectangle holding every pixel of colour c; empty if none.
RECT BoxOf(const Canvas& canvas, COLORREF c) {
    RECT r{canvas.w, canvas.h, 0, 0};
    for (int y = 0; y < canvas.h; ++y)
        for (int x = 0; x < canvas.w; ++x)
            if (canvas.At(x, y) == c) r = RECT{std::min<LONG>(r.left, x), std::min<LONG>(r.top, y),
                                               std::max<LONG>(r.right, x + 1), std::max<LONG>(r.bottom, y + 1)};
    return r;
}

SIZE TextSize(HFONT font, const char* text) {
    HDC dc = GetDC(NULL);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(NULL, dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// "&Open", "&Save", a separator, "E&xit", "&&Co" (ids 1, 2, -, 3, 4).
void FillFileMenu(CCustMenu& menu) {
    menu.AppendMenuItem(0, 1, new CCustMenuItem("&Open", -1, 0));
    menu.AppendMenuItem(0, 2, new CCustMenuItem("&Save", -1, 0));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenuItem(0, 3, new CCustMenuItem("E&xit", -1, 0));
    menu.AppendMenuItem(0, 4, new CCustMenuItem("&&Co", -1, 0));
}

TEST(CustMenuTest, MenuCharFindsAmpersandLettersAtPositionsCountingSeparators) {
    CCustMenu menu;
    ASSERT_TRUE(menu.Create());
    FillFileMenu(menu);
    const struct {
        UINT key;
        LRESULT want;
    } cases[] = {{'o', MAKELRESULT(0, MNC_EXECUTE)}, {'O', MAKELRESULT(0, MNC_EXECUTE)},
                 {'s', MAKELRESULT(1, MNC_EXECUTE)}, {'x', MAKELRESULT(3, MNC_EXECUTE)},
                 {'X' | 0x100, MAKELRESULT(3, MNC_EXECUTE)}, {'&', MAKELRESULT(4, MNC_EXECUTE)},
                 {'e', 0}, {'q', 0}, {'c', 0}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(menu.MenuChar(cases[i].key, MF_POPUP), cases[i].want) << "case " << i;
    }
    // Items inserted before others still map in the order they were added.
    CCustMenu inserted;
    ASSERT_TRUE(inserted.Create());
    inserted.AppendMenuItem(0, 1, new CCustMenuItem("&Alpha", -1, 0));
    ASSERT_TRUE(inserted.InsertMenuItem(0, MF_BYPOSITION, 2, new CCustMenuItem("&Beta", -1, 0)));
    EXPECT_EQ(inserted.MenuChar('a', 0), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(inserted.MenuChar('b', 0), MAKELRESULT(1, MNC_EXECUTE));
    CCustMenu empty;
    EXPECT_EQ(empty.MenuChar('a', 0), 0);
}

TEST(CustMenuTest, MenuHeightCountsItemsAsHighAsTheFirstAndEightPixelsPerSeparator) {
    CCustMenu menu;
    ASSERT_TRUE(menu.Create());
    bool thrown = false;
    try {
        (void)menu.GetMenuHeight();
    } catch (CInvalidArgException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown) << "no items";
    FillFileMenu(menu);
    const SIZE text = TextSize(menu.m_DrawAttrs.fontNormal, "&Open");
    const int itemHeight = std::max<int>(22, text.cy);
    EXPECT_EQ(menu.GetMenuHeight(), 4 * itemHeight + 2 * (GetSystemMetrics(SM_CYFRAME) + 4));
}

TEST(CustMenuTest, PopupWithNothingSelectableIsAppendedGrayed) {
    const struct {
        std::vector<UINT> entries;  // flags of the submenu's entries
        bool grayed;
    } cases[] = {{{}, true},
                 {{MF_GRAYED, MF_SEPARATOR, MF_GRAYED | MF_DISABLED}, true},
                 {{MF_GRAYED, 0}, false},
                 {{MF_DISABLED}, false}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        CCustMenu menu;
        ASSERT_TRUE(menu.Create());
        HMENU sub = CreatePopupMenu();
        UINT id = 100;
        for (UINT flags : cases[i].entries) AppendMenuA(sub, flags, id++, "e");
        ASSERT_TRUE(menu.AppendMenuItem(MF_POPUP, reinterpret_cast<UINT_PTR>(sub), new CCustMenuItem("Sub", -1, 0)));
        EXPECT_EQ((menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED) != 0, cases[i].grayed) << "case " << i;
    }
}

TEST(CustMenuTest, ItemsAreOwnedOnlyOnceAdded) {
    CCustMenu menu;
    BrokenItem broken;
    CCustMenuItem kept("kept", -1, 0);
    EXPECT_FALSE(menu.AppendMenuItem(0, 1, &kept)) << "no menu handle yet";
    ASSERT_TRUE(menu.Create());
    EXPECT_FALSE(menu.Create()) << "a second Create";
    EXPECT_FALSE(menu.AppendMenuItem(0, 1, &broken));
    EXPECT_FALSE(menu.InsertMenuItem(0, MF_BYPOSITION, 1, nullptr));
    EXPECT_EQ(menu.m_arrItems.GetSize(), 0);
    EXPECT_EQ(menu.m_DrawAttrs.nItemCount, 0);
    auto* twice = new CCustMenuItem("twice", -1, 0);
    ASSERT_TRUE(menu.AppendMenuItem(0, 5, twice));
    ASSERT_TRUE(menu.AppendMenuItem(0, 6, twice));  // deleted once by the destructor
    EXPECT_EQ(menu.m_DrawAttrs.nItemCount, 2);

    // The button's text, id and state; a failed append frees what it made.
    CWnd parent, button;
    ASSERT_TRUE(parent.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    ASSERT_TRUE(button.CreateEx(0, "BUTTON", "&Print", WS_CHILD | WS_DISABLED, 0, 0, 10, 10, parent.GetSafeHwnd(),
                                reinterpret_cast<HMENU>(77)));
    ASSERT_TRUE(menu.AppendMenuFromButton(button, 2));
    const auto* item = static_cast<CCustMenuItem*>(menu.m_arrItems[2]);
    EXPECT_STREQ(item->m_strText, "&Print");
    EXPECT_EQ(item->m_nImage, 2);
    EXPECT_EQ(menu.GetMenuItemID(2), 77u);
    EXPECT_NE(menu.GetMenuState(2, MF_BYPOSITION) & MF_GRAYED, 0u);
    CCustMenu noHandle;
    EXPECT_FALSE(noHandle.AppendMenuFromButton(button, 0));
    EXPECT_EQ(noHandle.m_arrItems.GetSize(), 0);
}

TEST(CustMenuTest, ImageListIsTakenOverReplacedAndDroppedOnFailedLoad) {
    CCustMenu menu;
    ASSERT_TRUE(menu.Create());
    HBITMAP strip = LoadBitmapA(Resources(), "STRIP");
    EXPECT_EQ(menu.AddBitmap(strip), 0);
    EXPECT_EQ(menu.AddBitmap(strip), 3);
    DeleteObject(strip);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(menu.m_DrawAttrs.hImageList, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    CCustMenuItem item("i", 5, 0), past("p", 6, 0), none("n", -1, 0);
    EXPECT_TRUE(item.IsImageAvailable(&menu.m_DrawAttrs));
    EXPECT_FALSE(past.IsImageAvailable(&menu.m_DrawAttrs));
    EXPECT_FALSE(none.IsImageAvailable(&menu.m_DrawAttrs));
    EXPECT_TRUE(menu.SetImages(menu.m_DrawAttrs.hImageList)) << "the list it holds is kept";
    EXPECT_TRUE(menu.SetImages(ImageList_Create(16, 16, ILC_COLOR32, 0, 1)));
    EXPECT_FALSE(menu.LoadBitmap(GetModuleHandleA(NULL), "NoSuchStrip"));
    EXPECT_EQ(menu.m_DrawAttrs.hImageList, static_cast<HIMAGELIST>(NULL));
    EXPECT_EQ(menu.AddBitmap(NULL), -1);
}

TEST(CustMenuTest, RibbonSettings) {
    CCustMenu menu;
    menu.AttachRibbon("Fax", RGB(0, 0, 0), RGB(255, 0, 0), 4, RGB(255, 255, 255));
    EXPECT_EQ(menu.m_DrawAttrs.bRibbon, 1);
    EXPECT_EQ(menu.m_DrawAttrs.nRibbonWidth, 30);
    menu.AttachRibbon("", 0, 0, 1, 0);
    EXPECT_EQ(menu.m_DrawAttrs.bRibbon, 0);
    menu.AttachRibbon("Fax", 0, 0, 1, 0);
    menu.AttachRibbon(0u, 0, 0, 1);
    EXPECT_EQ(menu.m_DrawAttrs.bRibbon, 0);
    menu.AttachRibbon(0xFEDCu, 0, 0, 1);  // no such bitmap
    EXPECT_EQ(menu.m_DrawAttrs.bRibbon, 0);
}

TEST(CustMenuTest, MeasureUsesTheItemFontTheImageColumnAndTheRibbon) {
    CCustMenu menu;
    ASSERT_TRUE(menu.Create());
    const char* text = "Open the\tCtrl+O";
    for (int bold = 0; bold < 2; ++bold) {
        for (int ribbon = 0; ribbon < 2; ++ribbon) {
            menu.AttachRibbon(ribbon ? "Fax" : "", 0, 0, 1, 0);
            CCustMenuItem item(text, -1, bold);
            MEASUREITEMSTRUCT mis{};
            item.MeasureItem(&mis, &menu.m_DrawAttrs);
            const SIZE want = TextSize(bold ? menu.m_DrawAttrs.fontBold : menu.m_DrawAttrs.fontNormal, text);
            EXPECT_EQ(static_cast<int>(mis.itemWidth), want.cx + 30 + 30 * ribbon) << bold << ribbon;
            EXPECT_EQ(static_cast<int>(mis.itemHeight), std::max<int>(22, want.cy)) << bold << ribbon;
        }
    }
}

// Six distinct colours in the record: the system's may coincide (white
// menus and white highlights under some themes).
void UseDistinctColours(DRAWATTRS& a) {
    a.clrMenu = RGB(192, 192, 192);
    a.clrMenuText = RGB(0, 0, 0);
    a.clrHighlight = RGB(0, 0, 128);
    a.clrHighlightText = RGB(255, 255, 0);
    a.clr3DHilight = RGB(255, 255, 255);
    a.clr3DShadow = RGB(128, 128, 128);
}

// One item drawn whole into a canvas of the menu colour, 120 x 22 at (0, 0).
struct Drawn {
    Canvas canvas{120, 22, RGB(192, 192, 192)};
    void Draw(CCustMenu& menu, CCustMenuItem& item, UINT state, UINT action = ODA_DRAWENTIRE) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemAction = action;
        dis.itemState = state;
        dis.hDC = canvas.dc;
        dis.rcItem = RECT{0, 0, 120, 22};
        item.DrawItem(&dis, &menu.m_DrawAttrs);
    }
};

TEST(CustMenuTest, CheckMarkAndImageColumnStates) {
    CCustMenu menu;
    ASSERT_TRUE(menu.Create());
    UseDistinctColours(menu.m_DrawAttrs);
    const DRAWATTRS& a = menu.m_DrawAttrs;
    const POINT mark[] = {{11, 5}, {10, 6}, {11, 6}, {5, 7}, {9, 7}, {10, 7}, {5, 8},
                          {6, 8},  {8, 8},  {9, 8},  {6, 9}, {7, 9}, {8, 9}, {7, 10}};
    const struct {
        UINT state;
        COLORREF markColour;
        bool dotted;  // the column inside the sunken frame mixes clrMenu and clr3DHilight
    } cases[] = {{ODS_CHECKED, a.clrMenuText, true},
                 {ODS_CHECKED | ODS_SELECTED, a.clrMenuText, false},
                 {ODS_CHECKED | ODS_GRAYED, a.clr3DShadow, false}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        CCustMenuItem item("Check", -1, 0);
        Drawn d;
        d.Draw(menu, item, cases[i].state);
        // Image at x = 0 + 3 + 1, y = 11 - 8; the column 1..23 framed sunken.
        int inMark = 0;
        for (const POINT& p : mark) inMark += d.canvas.At(4 + p.x, 3 + p.y) == cases[i].markColour;
        EXPECT_EQ(inMark, 14) << "case " << i;
        EXPECT_EQ(d.canvas.At(1, 0), GetSysColor(COLOR_3DSHADOW)) << "case " << i;
        EXPECT_EQ(d.canvas.At(22, 21), GetSysColor(COLOR_3DHILIGHT)) << "case " << i;
        const COLORREF p1 = d.canvas.At(2, 2), p2 = d.canvas.At(3, 2);
        if (cases[i].dotted) {
            EXPECT_NE(p1, p2) << "case " << i;
            EXPECT_TRUE((p1 == a.clrMenu && p2 == a.clr3DHilight) || (p2 == a.clrMenu && p1 == a.clr3DHilight)) << i;
        } else {
            EXPECT_EQ(p1, a.clrMenu) << "case " << i;
        }
    }
}

TEST(CustMenuTest, HighlightFrameAndEmbossedText) {
    CCustMenu menu;
    ASSERT_TRUE(menu.Create());
    UseDistinctColours(menu.m_DrawAttrs);
    const DRAWATTRS& a = menu.m_DrawAttrs;
    ASSERT_TRUE(menu.LoadBitmap(Resources(), "STRIP"));

    CCustMenuItem withImage("Image", 0, 0), plain("Plain", -1, 0);
    Drawn selImage, selPlain, grayed, graySelect;
    selImage.Draw(menu, withImage, ODS_SELECTED);
    EXPECT_EQ(selImage.canvas.At(1, 0), GetSysColor(COLOR_3DHILIGHT)) << "raised frame";
    EXPECT_EQ(selImage.canvas.At(22, 21), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(selImage.canvas.At(4 + 8, 3 + 8), RGB(128, 0, 0)) << "the image";
    EXPECT_EQ(selImage.canvas.At(4 + 0, 3 + 0), a.clrMenu) << "magenta is transparent";
    EXPECT_EQ(selImage.canvas.At(23, 11), a.clrMenu) << "no highlight left of the text area";
    EXPECT_EQ(selImage.canvas.At(24, 0), a.clrHighlight);
    selPlain.Draw(menu, plain, ODS_SELECTED);
    EXPECT_EQ(selPlain.canvas.At(1, 0), a.clrHighlight) << "highlight across the empty column";
    EXPECT_GT(selPlain.canvas.Count(a.clrHighlightText), 0);

    grayed.Draw(menu, plain, ODS_GRAYED);
    const RECT both = grayed.canvas.InkBox(a.clrMenu);  // every pixel drawn: the two copies
    const RECT dark = BoxOf(grayed.canvas, a.clr3DShadow);
    ASSERT_LT(dark.left, dark.right) << "no dark text";
    EXPECT_EQ(both.right, dark.right + 1) << "the light copy lies one pixel right";
    EXPECT_EQ(both.bottom, dark.bottom + 1) << "and one pixel down";
    EXPECT_EQ(both.left, dark.left);
    EXPECT_GE(dark.left, 1 + 22 + 1 + 3) << "text starts after the column and the margin";
    const SIZE extent = TextSize(a.fontNormal, "Plain");
    EXPECT_LE(dark.right - dark.left, extent.cx);
    graySelect.Draw(menu, plain, ODS_GRAYED | ODS_SELECTED, ODA_SELECT);
    EXPECT_EQ(graySelect.canvas.Count(a.clrMenu), 120 * 22) << "a selection change paints no grayed item";
}

TEST(CustMenuTest, RibbonBandsTruncateStepsAndFillTheRestWithTheEndColour) {
    const struct {
        int height;
        COLORREF from, to;
        UINT steps;
        std::vector<std::pair<int, COLORREF>> rows;  // (first row, colour) up to the next entry
    } cases[] = {
        {100, RGB(0, 0, 0), RGB(255, 0, 0), 4,
         {{0, RGB(0, 0, 0)}, {25, RGB(63, 0, 0)}, {50, RGB(126, 0, 0)}, {75, RGB(189, 0, 0)}}},
        {102, RGB(0, 0, 0), RGB(255, 0, 0), 4,
         {{0, RGB(0, 0, 0)}, {25, RGB(63, 0, 0)}, {50, RGB(126, 0, 0)}, {75, RGB(189, 0, 0)}, {100, RGB(255, 0, 0)}}},
        {3, RGB(0, 0, 0), RGB(255, 0, 0), 4, {{0, RGB(255, 0, 0)}}},
        {60, RGB(10, 200, 30), RGB(10, 200, 30), 7, {{0, RGB(10, 200, 30)}}},
        {60, RGB(200, 100, 0), RGB(0, 0, 100), 3,
         {{0, RGB(200, 100, 0)}, {20, RGB(134, 67, 33)}, {40, RGB(68, 34, 66)}}},
        {40, RGB(0, 0, 0), RGB(0, 255, 0), 0, {{0, RGB(0, 255, 0)}}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        CCustMenu menu;
        ASSERT_TRUE(menu.Create());
        menu.AttachRibbon("R", cases[i].from, cases[i].to, cases[i].steps, cases[i].from);
        Canvas c(40, cases[i].height, RGB(1, 2, 3));
        CCustMenuItem item("x", -1, 0);
        // Column 29 lies right of the ribbon text, which fills the band from its left edge.
        item.DrawRibbon(CDC::FromHandle(c.dc), CRect(0, 0, 120, cases[i].height), &menu.m_DrawAttrs);
        const auto& rows = cases[i].rows;
        for (size_t r = 0; r < rows.size(); ++r) {
            const int end = r + 1 < rows.size() ? rows[r + 1].first : cases[i].height;
            EXPECT_EQ(c.At(29, rows[r].first), rows[r].second) << "case " << i << " row " << rows[r].first;
            EXPECT_EQ(c.At(29, end - 1), rows[r].second) << "case " << i << " row " << end - 1;
        }
        EXPECT_EQ(c.At(30, 0), RGB(1, 2, 3)) << "case " << i << ": the band is 30 wide";
    }
}

TEST(CustMenuTest, RibbonTextReadsUpwardsInsideTheBand) {
    CCustMenu menu;
    ASSERT_TRUE(menu.Create());
    menu.AttachRibbon("Faxes", RGB(0, 0, 128), RGB(0, 0, 128), 1, RGB(255, 255, 0));
    Canvas c(60, 150, RGB(1, 2, 3));
    CCustMenuItem item("x", -1, 0);
    item.DrawRibbon(CDC::FromHandle(c.dc), CRect(30, 0, 200, 150), &menu.m_DrawAttrs);
    const RECT ink = BoxOf(c, RGB(255, 255, 0));
    ASSERT_LT(ink.top, ink.bottom) << "no ribbon text";
    EXPECT_GE(ink.left, 0);
    EXPECT_LE(ink.right, 30);
    EXPECT_LE(ink.bottom, 150 - 5 + 1) << "starts 5 pixels above the bottom";
    EXPECT_GT(ink.bottom - ink.top, ink.right - ink.left) << "the text runs upwards";
    // As long as the text in the band's font, one pixel more per character.
    HFONT font = CreateFontA(25, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_TT_PRECIS, 0, 0, 0, "Arial Narrow");
    const SIZE extent = TextSize(font, "Faxes");
    DeleteObject(font);
    EXPECT_LE(ink.bottom - ink.top, extent.cx + 5);
    EXPECT_GE(ink.bottom - ink.top, extent.cx / 2);
}

TEST(CustMenuTest, OwnerWindowRoutesTheMenuMessages) {
    CCustMenu menu;
    ASSERT_TRUE(menu.Create());
    FillFileMenu(menu);
    CTrackMenuWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 1, 1, NULL, NULL));
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    state->m_hTrackingMenu = menu.GetSafeHmenu();
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, 1, 0, 0, reinterpret_cast<ULONG_PTR>(menu.m_arrItems[0])};
    owner.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    state->m_hTrackingMenu = NULL;
    EXPECT_EQ(mis.itemWidth, static_cast<UINT>(TextSize(menu.m_DrawAttrs.fontNormal, "&Open").cx + 30));

    EXPECT_EQ(owner.SendMessage(WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP), reinterpret_cast<LPARAM>(menu.GetSafeHmenu())),
              MAKELRESULT(3, MNC_EXECUTE));

    Canvas c(120, 22, RGB(1, 2, 3));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = ODS_SELECTED;
    dis.hwndItem = reinterpret_cast<HWND>(menu.GetSafeHmenu());
    dis.hDC = c.dc;
    dis.rcItem = RECT{0, 0, 120, 22};
    dis.itemData = reinterpret_cast<ULONG_PTR>(menu.m_arrItems[1]);
    owner.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    EXPECT_EQ(c.At(60, 0), menu.m_DrawAttrs.clrHighlight);
    BrokenItem broken;
    dis.itemData = reinterpret_cast<ULONG_PTR>(&broken);
    c.Fill(RGB(1, 2, 3));
    owner.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    EXPECT_EQ(c.Count(RGB(1, 2, 3)), 120 * 22) << "item data that is no item draws nothing";
    owner.DestroyWindow();
}

TEST(CustMenuTest, ImageStripsAndRibbonBitmapsLoadFromAResourceModule) {
    const HMODULE res = Resources();
    ASSERT_NE(res, static_cast<HMODULE>(NULL));
    CCustMenu menu;
    ASSERT_TRUE(menu.Create());
    UseDistinctColours(menu.m_DrawAttrs);
    EXPECT_FALSE(menu.LoadBitmap(201u)) << "the program itself has no bitmaps";
    EXPECT_TRUE(menu.LoadBitmap(res, "STRIP"));
    EXPECT_TRUE(menu.LoadBitmap(res, 0x10000u + 201u)) << "the low 16 bits name the resource";
    EXPECT_EQ(ImageList_GetImageCount(menu.m_DrawAttrs.hImageList), 3);
    CCustMenuItem item("x", -1, 0);

    // Ribbon bitmaps stand on the bottom of the band; a taller one shows its
    // lowest rows. Column 0 is transparent over the band's colour.
    const HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(res);
    const COLORREF band = RGB(10, 20, 30);
    const struct {
        UINT id;
        COLORREF top, at50, bottom;
    } cases[] = {{300, RGB(0, 128, 0), RGB(0, 0, 128), RGB(0, 0, 0)}, {301, band, RGB(128, 0, 0), RGB(0, 128, 0)}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        menu.AttachRibbon(cases[i].id, band, band, 4);
        EXPECT_EQ(menu.m_DrawAttrs.bRibbon, 1) << "case " << i;
        EXPECT_EQ(menu.m_DrawAttrs.nRibbonWidth, 20) << "case " << i;
        Canvas c(40, 150, RGB(1, 2, 3));
        item.DrawRibbon(CDC::FromHandle(c.dc), CRect(0, 0, 100, 150), &menu.m_DrawAttrs);
        EXPECT_EQ(c.At(5, 0), cases[i].top) << "case " << i;
        EXPECT_EQ(c.At(5, 50), cases[i].at50) << "case " << i;
        EXPECT_EQ(c.At(5, 149), cases[i].bottom) << "case " << i;
        EXPECT_EQ(c.At(0, 149), band) << "case " << i;
        EXPECT_EQ(c.At(20, 149), RGB(1, 2, 3)) << "case " << i;
    }
    AfxSetResourceHandle(previous);
}

}  // namespace
