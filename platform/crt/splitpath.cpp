// C runtime _splitpath and _makepath.
//
// Both separators count. Paths are read by characters of the multibyte code
// page, so under 932 the second byte of 0x95 0x5C is no backslash. A
// separator or a dot is never a trail byte of the other double-byte pages.
#include <stdlib.h>
#include <string.h>

#include "crt/codepage.h"

#include <string>
#include <string_view>

namespace {

void CopyCut(char* out, std::string_view part, std::size_t size) {
    if (out == nullptr) return;
    const std::size_t n = part.size() < size ? part.size() : size - 1;
    if (n > 0) memcpy(out, part.data(), n);
    out[n] = '\0';
}

// Whether the last character (not merely the last byte) is a separator.
bool EndsInSeparator(std::string_view path) {
    const UINT cp = winport::AnsiCodePage();
    bool separator = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        separator = false;
        if (winport::IsLeadByte(cp, static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            ++i;
        } else {
            separator = path[i] == '\\' || path[i] == '/';
        }
    }
    return separator;
}

}  // namespace

extern "C" {

WINPORT_API void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext) {
    std::string_view rest = path != nullptr ? path : "";
    std::string_view drivepart;
    if (rest.size() >= 2 && rest[1] == ':') {
        drivepart = rest.substr(0, 2);
        rest.remove_prefix(2);
    }
    std::size_t slash = std::string_view::npos;
    const UINT cp = winport::AnsiCodePage();
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (winport::IsLeadByte(cp, static_cast<unsigned char>(rest[i])) && i + 1 < rest.size()) {
            ++i;
        } else if (rest[i] == '\\' || rest[i] == '/') {
            slash = i;
        }
    }
    const std::string_view dirpart = slash == std::string_view::npos ? std::string_view() : rest.substr(0, slash + 1);
    rest.remove_prefix(dirpart.size());
    const std::size_t dot = rest.rfind('.');
    const std::string_view extpart = dot == std::string_view::npos ? std::string_view() : rest.substr(dot);
    rest.remove_suffix(extpart.size());
    CopyCut(drive, drivepart, _MAX_DRIVE);
    CopyCut(dir, dirpart, _MAX_DIR);
    CopyCut(fname, rest, _MAX_FNAME);
    CopyCut(ext, extpart, _MAX_EXT);
}

WINPORT_API void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext) {
    if (path == nullptr) return;
    std::string out;
    if (drive != nullptr && *drive != '\0') {
        out += drive[0];
        out += ':';
    }
    if (dir != nullptr && *dir != '\0') {
        out += dir;
        if (!EndsInSeparator(out)) out += '\\';
    }
    if (fname != nullptr) out += fname;
    if (ext != nullptr && *ext != '\0') {
        if (*ext != '.') out += '.';
        out += ext;
    }
    CopyCut(path, out, _MAX_PATH);
}

}  // extern "C"
