// Where the test programs find the resource modules built from
// tests/resources/fixtures: the folder resfixtures beside the program.
#pragma once

#include <windows.h>

#include <string>

namespace xwth_test {

// The full path of a fixture module, e.g. FixtureModule("resmod_a.dll").
[[nodiscard]] inline std::string FixtureModule(const char* file) {
    char self[MAX_PATH * 4] = {0};
    const DWORD n = GetModuleFileNameA(NULL, self, sizeof self);
    std::string path(self, n);
    const std::size_t slash = path.find_last_of("\\/");
    path.resize(slash == std::string::npos ? 0 : slash + 1);
#if defined(_WIN32)
    return path + "resfixtures\\" + file;
#else
    return path + "resfixtures/" + file;
#endif
}

}  // namespace xwth_test
