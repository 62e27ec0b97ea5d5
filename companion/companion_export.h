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

#if defined(CONFIG_BUILDING)
#  define CONFIG_API COMPANION_EXPORT
#else
#  define CONFIG_API COMPANION_IMPORT
#endif
