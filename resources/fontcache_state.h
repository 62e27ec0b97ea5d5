// The font cache's process-wide objects (library-private).
#pragma once

#include <xwth/fontcache.h>

// The cache's fonts: a static object of the library, built before any holder
// and destroyed after the last (dllmain.cpp).
CFontDescrArray& FontCacheArray();

// The holder the library keeps for its whole life, made on first use (so
// that no screen is asked while the library loads) and destroyed at unload
// before the cache array.
FCache& LibraryFontCache();
