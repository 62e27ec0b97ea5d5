// CEffectsStatic: the static control under a class of the library's own.
#include <xwth/bitmaps.h>

IMPLEMENT_DYNAMIC(CEffectsStatic, CStatic)

BEGIN_MESSAGE_MAP(CEffectsStatic, CStatic)
END_MESSAGE_MAP()

CEffectsStatic::CEffectsStatic() = default;

CEffectsStatic::~CEffectsStatic() {
    DestroyWindow();
}

CRuntimeClass* PASCAL CEffectsStatic::GetThisClass() {
    return RUNTIME_CLASS(CEffectsStatic);
}
