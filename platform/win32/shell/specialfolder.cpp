// shell32 special folders: SHGetSpecialFolderLocation, SHGetPathFromIDListA,
// ILFree.
//
// An identifier list made here holds one item, a file-system path: the item
// is the marker "WPFS" and the path with its NUL, and a zero USHORT ends the
// list. SHGetPathFromIDListA reads only lists with that marker.
//
// The documents folder is the XDG one, read anew on every call (the user may
// move it at any time):
//   1. XDG_DOCUMENTS_DIR from ${XDG_CONFIG_HOME:-$HOME/.config}/user-dirs.dirs,
//      a line XDG_DOCUMENTS_DIR="$HOME/Docs" or ="/abs/path", when that
//      folder exists (a relative or unquoted value is ignored, as the XDG
//      tools ignore it);
//   2. else $HOME/Documents when it exists;
//   3. else $HOME itself.
// A folder that does not exist is never answered, other than $HOME: the
// caller means to open a dialog in it.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <shlobj.h>

namespace {

constexpr char kMarker[4] = {'W', 'P', 'F', 'S'};

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return WithoutTrailingSlash(home);
    std::vector<char> buf(16384);
    struct passwd pw {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr) {
        return WithoutTrailingSlash(found->pw_dir);
    }
    return std::string();
}

// The folder a user-dirs.dirs line names for key, or "" when the file has
// no usable line for it. The last line for the key counts, as when the
// shell sources the file.
std::string UserDir(const std::string& configFolder, const std::string& home, const char* key) {
    std::ifstream in(configFolder + "/user-dirs.dirs");
    std::string line;
    std::string result;
    const std::string prefix = std::string(key) + "=\"";
    while (std::getline(in, line)) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, prefix.size(), prefix) != 0) continue;
        std::string value;
        bool closed = false;
        for (size_t i = start + prefix.size(); i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) {
                value += line[++i];
            } else if (line[i] == '"') {
                closed = true;
                break;
            } else {
                value += line[i];
            }
        }
        if (!closed) continue;
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/')) {
            result = home + value.substr(5);
        } else if (!value.empty() && value[0] == '/') {
            result = value;
        }
    }
    return result;
}

std::string DocumentsFolder(const std::string& home) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string configFolder =
        config != nullptr && config[0] == '/' ? std::string(config) : home + "/.config";
    const std::string xdg = UserDir(configFolder, home, "XDG_DOCUMENTS_DIR");
    if (IsDirectory(xdg)) return WithoutTrailingSlash(xdg);
    if (IsDirectory(home + "/Documents")) return WithoutTrailingSlash(home + "/Documents");
    return WithoutTrailingSlash(home);
}

LPITEMIDLIST MakePathList(const std::string& path) {
    const size_t itemSize = sizeof(USHORT) + sizeof kMarker + path.size() + 1;
    if (itemSize > 0xFFFF) return nullptr;
    auto* bytes = static_cast<BYTE*>(CoTaskMemAlloc(itemSize + sizeof(USHORT)));
    if (bytes == nullptr) return nullptr;
    const USHORT cb = static_cast<USHORT>(itemSize);
    std::memcpy(bytes, &cb, sizeof cb);
    std::memcpy(bytes + sizeof cb, kMarker, sizeof kMarker);
    std::memcpy(bytes + sizeof cb + sizeof kMarker, path.c_str(), path.size() + 1);
    const USHORT end = 0;
    std::memcpy(bytes + itemSize, &end, sizeof end);
    return reinterpret_cast<LPITEMIDLIST>(bytes);
}

}  // namespace

extern "C" {

WINPORT_API HRESULT WINAPI SHGetSpecialFolderLocation(HWND hwnd, int csidl, LPITEMIDLIST* ppidl) {
    (void)hwnd;
    if (ppidl == nullptr) return E_INVALIDARG;
    *ppidl = nullptr;
    const int folder = csidl & ~CSIDL_FLAG_MASK;
    if (folder != CSIDL_PERSONAL && folder != CSIDL_PROFILE) return E_INVALIDARG;
    const std::string home = HomeFolder();
    if (home.empty()) return E_FAIL;
    const std::string path = folder == CSIDL_PERSONAL ? DocumentsFolder(home) : WithoutTrailingSlash(home);
    *ppidl = MakePathList(path);
    return *ppidl != nullptr ? S_OK : E_OUTOFMEMORY;
}

WINPORT_API BOOL WINAPI SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath) {
    if (pszPath == nullptr) return FALSE;
    pszPath[0] = '\0';
    if (pidl == nullptr) return FALSE;
    const auto* bytes = reinterpret_cast<const BYTE*>(pidl);
    USHORT cb;
    std::memcpy(&cb, bytes, sizeof cb);
    if (cb < sizeof cb + sizeof kMarker + 1 || std::memcmp(bytes + sizeof cb, kMarker, sizeof kMarker) != 0) {
        return FALSE;
    }
    const char* path = reinterpret_cast<const char*>(bytes + sizeof cb + sizeof kMarker);
    const size_t length = strnlen(path, cb - sizeof cb - sizeof kMarker);
    if (length >= MAX_PATH || length == cb - sizeof cb - sizeof kMarker) return FALSE;
    std::memcpy(pszPath, path, length + 1);
    return TRUE;
}

WINPORT_API void WINAPI ILFree(LPITEMIDLIST pidl) {
    CoTaskMemFree(pidl);
}

}  // extern "C"
