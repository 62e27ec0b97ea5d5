// Windows path spelling to POSIX: both separators accepted, no drive letters.
#pragma once

#include <string>
#include <string_view>

namespace winport {

// The POSIX spelling of a path given to a Win32 or C runtime call: every '\'
// becomes '/'. A doubled separator needs no care, POSIX reads it as one.
[[nodiscard]] std::string ToPosixPath(std::string_view winPath);

[[nodiscard]] inline bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

// Offset just past the last separator (0 when there is none).
[[nodiscard]] std::size_t NameOffset(std::string_view path);

}  // namespace winport
