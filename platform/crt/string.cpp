// C runtime string functions of the Windows runtime.
#include <errno.h>
#include <stdlib.h>
#include <string.h>

extern "C" {

WINPORT_API char* _strdup(const char* strSource) {
    if (strSource == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    const size_t size = strlen(strSource) + 1;
    auto* copy = static_cast<char*>(malloc(size));
    if (copy == nullptr) {
        errno = ENOMEM;
        return nullptr;
    }
    return static_cast<char*>(memcpy(copy, strSource, size));
}

}  // extern "C"
