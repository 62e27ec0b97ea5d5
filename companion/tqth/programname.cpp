// gszProgramName: the program's display name.
//
// It starts as the base name of the running executable without its extension
// ("C:\Apps\faxclient.exe" and "/usr/bin/faxclient" both give "faxclient"),
// the best title available before the program sets its own; the program may
// assign a better one at any time. "" when the executable's path cannot be
// read. Initialised when this library loads, before any client code runs.
#include <windows.h>

#include <string>

#include "TQTH.h"

namespace {

CString ExecutableBaseName() {
    try {
        std::string path(MAX_PATH, '\0');
        for (;;) {
            const DWORD n = GetModuleFileNameA(NULL, path.data(), static_cast<DWORD>(path.size()));
            if (n == 0)
                return CString();
            if (n < path.size()) {
                path.resize(n);
                break;
            }
            // A full buffer means the path may have been cut: try a larger one,
            // up to the longest path the system has.
            if (path.size() >= 32768)
                return CString();
            path.assign(path.size() * 2, '\0');
        }
        const size_t slash = path.find_last_of("\\/");
        std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
        const size_t dot = base.rfind('.');
        if (dot != std::string::npos && dot > 0)
            base.resize(dot);
        return CString(base.c_str());
    } catch (...) {
        // Out of memory while the library loads: an empty title beats a
        // process that cannot start.
        return CString();
    }
}

}  // namespace

CString gszProgramName = ExecutableBaseName();
