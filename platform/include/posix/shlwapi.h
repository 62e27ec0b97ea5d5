// Shell light-weight utilities, winport on POSIX: the memory stream.
#pragma once

#include <objidl.h>

// A new stream (one reference) over a copy of cbInit bytes from pInit (none
// when pInit is NULL), positioned at its start; it grows as it is written.
// NULL when out of memory. Stat reports the size and STGTY_STREAM, no name.
extern "C" WINPORT_API IStream* WINAPI SHCreateMemStream(const BYTE* pInit, UINT cbInit);
