// Framework GDI wrappers: ownership, temporary wrappers, selection overloads, the halftone brush.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/afx_test_support.h"

TEST(AfxGdiTest, WrappersOwnWhatTheyCreateAndTemporariesNothing) {
    HBRUSH raw = NULL;
    {
        CBrush brush(RGB(1, 2, 3));
        raw = static_cast<HBRUSH>(brush.m_hObject);
        EXPECT_EQ(CBrush::FromHandle(raw), &brush);  // the permanent wrapper
        LOGBRUSH lb{};
        EXPECT_EQ(brush.GetLogBrush(&lb), static_cast<int>(sizeof(lb)));
        EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
    }
    EXPECT_EQ(GetObjectType(raw), 0u);  // deleted with its wrapper

    HBRUSH loose = CreateSolidBrush(RGB(4, 5, 6));
    CBrush* temp = CBrush::FromHandle(loose);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(CBrush::FromHandle(loose), temp);
    CGdiObject::DeleteTempMap();
    EXPECT_EQ(GetObjectType(loose), static_cast<DWORD>(OBJ_BRUSH));  // the temporary owned nothing
    CBrush adopted;
    EXPECT_TRUE(adopted.Attach(loose));
    EXPECT_EQ(adopted.Detach(), loose);
    DeleteObject(loose);
}

TEST(AfxGdiTest, SelectObjectAnswersThePreviousWrapper) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
    CBitmap bm;
    ASSERT_TRUE(bm.CreateBitmap(4, 4, 1, 32, nullptr));
    CBitmap* old = dc.SelectObject(&bm);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(dc.GetCurrentBitmap(), &bm);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(80, "Liberation Sans"));
    LOGFONT lf{};
    font.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -11);
    CFont* oldFont = dc.SelectObject(&font);
    EXPECT_NE(oldFont, nullptr);
    EXPECT_EQ(dc.SelectObject(oldFont), &font);
    dc.FillSolidRect(0, 0, 4, 4, RGB(9, 8, 7));
    EXPECT_EQ(dc.GetPixel(3, 3), RGB(9, 8, 7));
    dc.Draw3dRect(0, 0, 4, 4, RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(3, 0), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(0, 3), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(1, 1), RGB(9, 8, 7));
    dc.SelectObject(old);
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
}

TEST(AfxGdiTest, FromHandleAndHalftone) {
    HDC raw = CreateCompatibleDC(NULL);
    CDC* temp = CDC::FromHandle(raw);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->GetSafeHdc(), raw);
    EXPECT_EQ(CDC::FromHandle(raw), temp);
    CDC::DeleteTempMap();
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_MEMDC));  // still alive

    CBitmap bm;
    bm.CreateBitmap(4, 2, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(raw, bm.m_hObject);
    CBrush* halftone = CDC::GetHalftoneBrush();
    ASSERT_NE(halftone, nullptr);
    EXPECT_EQ(CDC::GetHalftoneBrush(), halftone);
    SetTextColor(raw, RGB(0, 0, 0));
    SetBkColor(raw, RGB(255, 255, 255));
    HGDIOBJ oldBrush = SelectObject(raw, halftone->m_hObject);
    PatBlt(raw, 0, 0, 4, 2, PATCOPY);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_NE(GetPixel(raw, x, y), GetPixel(raw, x + 1 - 2 * (x & 1), y)) << x << "," << y;
    SelectObject(raw, oldBrush);
    SelectObject(raw, old);
    DeleteDC(raw);

    CClientDC screen(NULL);
    EXPECT_EQ(screen.GetDeviceCaps(LOGPIXELSY), 96);
}

// A wrapper made before its thread's handle map (here a thread_local) is
// destroyed after the map when the thread ends: it still deletes its brush
// and touches no map that is gone (ASan watches).
TEST(AfxGdiTest, WrapperOutlivingItsThreadsMapEndsCleanly) {
    HBRUSH handle = NULL;
    std::thread([&handle] {
        thread_local CBrush brush;
        ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 2, 3)));
        handle = static_cast<HBRUSH>(brush.m_hObject);
        EXPECT_EQ(CBrush::FromHandle(handle), &brush);
    }).join();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GetObjectType(handle), 0u);
}
