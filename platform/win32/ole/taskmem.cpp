// COM's task allocator: CoTaskMemAlloc, CoTaskMemRealloc, CoTaskMemFree over
// the C heap, so memory from any winport call that hands out task memory can
// be freed by any other module of the process.
#include <cstdlib>

#include <objbase.h>

extern "C" {

WINPORT_API LPVOID WINAPI CoTaskMemAlloc(SIZE_T cb) {
    // malloc(0) may answer NULL; the task allocator answers a block.
    return std::malloc(cb == 0 ? 1 : cb);
}

WINPORT_API LPVOID WINAPI CoTaskMemRealloc(LPVOID pv, SIZE_T cb) {
    return std::realloc(pv, cb == 0 ? 1 : cb);
}

WINPORT_API void WINAPI CoTaskMemFree(LPVOID pv) {
    std::free(pv);
}

}  // extern "C"
