// Export macros of the companion libraries, one per library.
#pragma once

#if defined(_WIN32)
#  define COMPANION_EXPORT __declspec(dllexport)
#  define COMPANION_IMPORT __declspec(dllimport)
#else
#  define COMPANION_EXPORT __attribute__((visibility("default")))
#  define COMPANION_IMPORT __attribute__((visibility("default")))
#endif

#if defined(TQLOG_BUILDING)
#  define TQLOG_API COMPANION_EXPORT
#else
#  define TQLOG_API COMPANION_IMPORT
#endif

#if defined(TQTH_BUILDING)
#  define TQTH_API COMPANION_EXPORT
#else
#  define TQTH_API COMPANION_IMPORT
#endif

#if defined(TQIMAGING_BUILDING)
#  define TQIMAGING_API COMPANION_EXPORT
#else
#  define TQIMAGING_API COMPANION_IMPORT
#endif

#if defined(CONFIG_BUILDING)
#  define CONFIG_API COMPANION_EXPORT
#else
#  define CONFIG_API COMPANION_IMPORT
#endif

// The copy operations of CMemBlock and CChangeCurDir are exported by the XWTH
// library, which clients import them from; TQTH implements the rest of the
// two classes.
#if defined(XWTH_BUILDING)
#  define XWTH_COPY_API COMPANION_EXPORT
#else
#  define XWTH_COPY_API COMPANION_IMPORT
#endif

// Members of the toolkit's contact classes that the XWTH library implements
// and exports (the accessors, the derived records' constructors).
#define XWTH_MEMBER_API XWTH_COPY_API

// A Windows DLL imports or exports a class whole or member by member, never
// both; the two classes above are split between two DLLs, so there each
// member carries its own library's mark. Elsewhere the class is marked
// visible as a whole, which says nothing about where a member is defined.
#if defined(_WIN32)
#  define TQTH_CLASS
#  define TQTH_MEMBER TQTH_API
#else
#  define TQTH_CLASS TQTH_API
#  define TQTH_MEMBER
#endif
