// Windows path spelling to POSIX.
#include "win32/paths.h"

#include <algorithm>

namespace winport {

std::string ToPosixPath(std::string_view winPath) {
    std::string out(winPath);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

std::size_t NameOffset(std::string_view path) {
    const auto pos = path.find_last_of("/\\");
    return pos == std::string_view::npos ? 0 : pos + 1;
}

}  // namespace winport
