// DrawTransparentBitmapByMask and DrawTransparentBitmap: a bitmap drawn
// through a one-bit mask of its transparent colour.
//
// The mask is made by copying the picture into a one-bit bitmap with the
// picture's background colour set to the transparent colour: those pixels
// become 1, all others 0. The picture then goes onto the target in three
// passes, target ^= picture, target &= mask, target ^= picture: under a 1
// the two XORs cancel and the target keeps its pixel; under a 0 the AND
// clears the pixel and the second XOR leaves the picture's. A one-bit
// picture is its own mask and is ORed on in one pass, so its set bits paint
// white and its clear bits leave the target alone.
//
// The mask meets the colour target through the target's text and background
// colours (a 0 bit becomes the text colour, a 1 bit the background colour),
// which is why they are black and white while the passes run.
#include <windows.h>

#include <xwth/bitmaps.h>

void DrawTransparentBitmapByMask(HDC hdc, HBITMAP hBitmap, int x, int y, COLORREF crTransparent) {
    const COLORREF crOldBack = ::SetBkColor(hdc, RGB(255, 255, 255));
    const COLORREF crOldText = ::SetTextColor(hdc, RGB(0, 0, 0));

    HDC hdcImage = ::CreateCompatibleDC(hdc);
    HDC hdcMask = ::CreateCompatibleDC(hdc);
    HGDIOBJ hOldImage = ::SelectObject(hdcImage, hBitmap);

    BITMAP bm{};
    ::GetObjectA(hBitmap, sizeof bm, &bm);
    HBITMAP hMask = ::CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 1, NULL);
    HGDIOBJ hOldMask = ::SelectObject(hdcMask, hMask);

    // A bitmap that could not be selected (it is in another DC, or is no
    // bitmap) or a mask that could not be made would only put the memory
    // DCs' default pictures on the target: nothing is drawn instead.
    if (hOldImage != NULL && hOldMask != NULL) {
        ::SetBkColor(hdcImage, crTransparent);
        ::BitBlt(hdcMask, 0, 0, bm.bmWidth, bm.bmHeight, hdcImage, 0, 0, SRCCOPY);
        if (bm.bmBitsPixel == 1) {
            ::BitBlt(hdc, x, y, bm.bmWidth, bm.bmHeight, hdcMask, 0, 0, SRCPAINT);
        } else {
            ::BitBlt(hdc, x, y, bm.bmWidth, bm.bmHeight, hdcImage, 0, 0, SRCINVERT);
            ::BitBlt(hdc, x, y, bm.bmWidth, bm.bmHeight, hdcMask, 0, 0, SRCAND);
            ::BitBlt(hdc, x, y, bm.bmWidth, bm.bmHeight, hdcImage, 0, 0, SRCINVERT);
        }
    }

    if (hOldImage != NULL) ::SelectObject(hdcImage, hOldImage);
    if (hOldMask != NULL) ::SelectObject(hdcMask, hOldMask);
    if (hMask != NULL) ::DeleteObject(hMask);
    ::SetBkColor(hdc, crOldBack);
    ::SetTextColor(hdc, crOldText);
    if (hdcMask != NULL) ::DeleteDC(hdcMask);
    if (hdcImage != NULL) ::DeleteDC(hdcImage);
}

void DrawTransparentBitmap(HDC hdc, HBITMAP hBitmap, short x, short y, COLORREF crTransparent) {
    DrawTransparentBitmapByMask(hdc, hBitmap, x, y, crTransparent);
}
