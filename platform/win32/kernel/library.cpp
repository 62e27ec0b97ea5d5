// kernel32 LoadLibraryA, LoadLibraryExA and FreeLibrary for PE files.
//
// A module is the file's bytes read into memory and checked (pefile.cpp);
// no code in it runs and nothing is relocated, so any PE32 or PE32+ file
// loads, whatever its machine. Loads are counted per file: loading the same
// file again, under any spelling of its path, returns the same handle with
// one more reference, and FreeLibrary unloads the module when the count
// drops to zero. A handle held after that names nothing and every call
// answers it the Windows way.
//
// Where the file is looked for: the path as given (relative to the current
// folder); for a bare file name then also the program's own folder. A name
// without an extension gets ".dll", and a trailing '.' means "no extension".
//
// Errors as Windows gives them: 126 for a file that is not there (and for
// NULL or ""), 5 for a folder, 193 for a file that is not a PE image or whose
// headers lie outside it, 8 when the file does not fit in memory.
#include "win32/errors.h"
#include "win32/handles.h"
#include "win32/kernel/pemodule.h"
#include "win32/paths.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace winport {
namespace {

struct PeRegistry {
    std::mutex mutex;  // held through a whole load, so a file is read once
    std::map<std::string, HMODULE> byPath;  // real path -> handle
};

PeRegistry& Registry() {
    static PeRegistry* const registry = new PeRegistry;  // lives as long as the handles
    return *registry;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y && std::tolower(x) != std::tolower(y)) {
            return false;
        }
    }
    return true;
}

// The name with ".dll" added when its file name has no extension; a
// trailing '.' is dropped instead.
std::string WithDefaultExtension(std::string_view name) {
    const std::string_view file = name.substr(NameOffset(name));
    if (!file.empty() && file.back() == '.') {
        return std::string(name.substr(0, name.size() - 1));
    }
    if (file.find('.') == std::string_view::npos) {
        return std::string(name) + ".dll";
    }
    return std::string(name);
}

std::string ProgramFolder() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) {
        return std::string();
    }
    std::string path(buf, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
}

// Opens the file the name stands for; -1 with the Win32 error in err.
int OpenModuleFile(const std::string& name, std::string& realPath, DWORD& err) {
    std::string candidates[2] = {ToPosixPath(name), std::string()};
    if (NameOffset(name) == 0) {
        candidates[1] = ProgramFolder() + name;
    }
    err = ERROR_MOD_NOT_FOUND;
    for (const std::string& path : candidates) {
        if (path.empty()) {
            continue;
        }
        // O_NONBLOCK: a FIFO must not hang the load; it is refused below.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            if (errno != ENOENT && errno != ENOTDIR) {
                err = Win32ErrorFromErrno(errno);
                return -1;
            }
            continue;
        }
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            err = (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) ? ERROR_ACCESS_DENIED : ERROR_BAD_EXE_FORMAT;
            ::close(fd);
            return -1;
        }
        char real[PATH_MAX];
        realPath = ::realpath(path.c_str(), real) != nullptr ? real : path;
        return fd;
    }
    return -1;
}

// The whole file; false with the Win32 error in err.
bool ReadWholeFile(int fd, std::vector<std::uint8_t>& bytes, DWORD& err) {
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        err = Win32ErrorFromErrno(errno);
        return false;
    }
    try {
        bytes.resize(static_cast<std::size_t>(st.st_size));
    } catch (const std::bad_alloc&) {
        err = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            err = Win32ErrorFromErrno(errno);
            return false;
        }
        if (n == 0) {
            bytes.resize(done);  // the file shrank while it was read
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

HMODULE LoadPeModule(const char* fileName) {
    if (fileName == nullptr || fileName[0] == '\0') {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    DWORD err = ERROR_SUCCESS;
    std::string realPath;
    const int fd = OpenModuleFile(WithDefaultExtension(fileName), realPath, err);
    if (fd < 0) {
        SetLastError(err);
        return nullptr;
    }
    PeRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.byPath.find(realPath);
    if (it != r.byPath.end()) {
        ::close(fd);
        if (auto module = Lookup<ModuleObject>(it->second)) {
            module->AddRef();
        }
        return it->second;
    }
    std::vector<std::uint8_t> bytes;
    const bool read = ReadWholeFile(fd, bytes, err);
    ::close(fd);
    if (!read) {
        SetLastError(err);
        return nullptr;
    }
    try {
        auto image = std::make_unique<PeImage>();
        if (!image->Load(std::move(bytes))) {
            SetLastError(ERROR_BAD_EXE_FORMAT);
            return nullptr;
        }
        auto handle = static_cast<HMODULE>(RegisterObject(std::make_shared<PeModuleObject>(std::move(image), realPath)));
        r.byPath.emplace(realPath, handle);
        return handle;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

}  // namespace

HMODULE FindLoadedPeModule(const char* name) {
    const std::string wanted = WithDefaultExtension(name);
    const std::string_view wantedFile = std::string_view(wanted).substr(NameOffset(wanted));
    const bool byPath = NameOffset(wanted) != 0;
    std::string wantedReal;
    if (byPath) {
        char real[PATH_MAX];
        if (::realpath(ToPosixPath(wanted).c_str(), real) == nullptr) {
            return nullptr;
        }
        wantedReal = real;
    }
    PeRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (const auto& [path, handle] : r.byPath) {
        if (byPath ? path == wantedReal : SameIgnoringCase(std::string_view(path).substr(NameOffset(path)), wantedFile)) {
            return handle;
        }
    }
    return nullptr;
}

}  // namespace winport

using namespace winport;

extern "C" {

WINBASEAPI HMODULE WINAPI LoadLibraryA(LPCSTR lpLibFileName) {
    return LoadPeModule(lpLibFileName);
}

WINBASEAPI HMODULE WINAPI LoadLibraryExA(LPCSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) {
    const DWORD known = DONT_RESOLVE_DLL_REFERENCES | LOAD_LIBRARY_AS_DATAFILE | LOAD_WITH_ALTERED_SEARCH_PATH |
                        LOAD_IGNORE_CODE_AUTHZ_LEVEL | LOAD_LIBRARY_AS_IMAGE_RESOURCE |
                        LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE;
    if (hFile != nullptr || (dwFlags & ~known) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return LoadPeModule(lpLibFileName);
}

WINBASEAPI BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
    if (hLibModule == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // Under the registry's lock, so that two calls cannot both take the
    // last reference, and a load of the same file waits for the unload.
    PeRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto module = Lookup<ModuleObject>(hLibModule);
    if (!module) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    if (module->image() == nullptr) {
        return TRUE;  // shared objects of the process stay loaded
    }
    if (module->Release() == 0) {
        r.byPath.erase(module->path());
        UnregisterObject(hLibModule, ModuleObject::kKind);
    }
    return TRUE;
}

}  // extern "C"
