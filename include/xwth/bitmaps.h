// Transparent bitmap drawing and the effects label.
//   DrawTransparentBitmapByMask  a bitmap drawn with one colour left transparent
//   DrawTransparentBitmap        the same with 16-bit coordinates
//   CEffectsStatic               a static-text control class that acts as a plain static
#pragma once

#include <afx.h>
#include <afxwin.h>

#include <xwth/export.h>

// Draws the whole of hBitmap, one pixel for one pixel, with its top-left
// corner at (x, y) of hdc; pixels of colour crTransparent leave hdc as it
// was. A one-bit bitmap paints its set bits white and leaves hdc alone under
// its clear bits, whatever crTransparent is. hdc's text and background
// colours are the same afterwards. hBitmap must not be selected into another
// device context. Nothing is reported: a failure spoils or drops the picture.
XWTH_API void DrawTransparentBitmapByMask(HDC hdc, HBITMAP hBitmap, int x, int y, COLORREF crTransparent);
// x and y widened with their sign.
XWTH_API void DrawTransparentBitmap(HDC hdc, HBITMAP hBitmap, short x, short y, COLORREF crTransparent);

// A static-text control with nothing of its own: it is made or subclassed as
// any CStatic is, and looks and acts exactly like one. Its message map has
// no entries and chains to CStatic's. Like CStatic, the object owns the
// window it made or subclassed and destroys it in its destructor.
class XWTH_API CEffectsStatic : public CStatic {
    DECLARE_DYNAMIC(CEffectsStatic)
public:
    CEffectsStatic();
    ~CEffectsStatic() override;

    [[nodiscard]] static CRuntimeClass* PASCAL GetThisClass();

    DECLARE_MESSAGE_MAP()
};
