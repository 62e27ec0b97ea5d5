// kernel32 modules: handles of the program and the shared objects loaded
// into it, and the files they came from.
#include "win32/kernel/module.h"
#include "win32/kernel/pemodule.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <map>
#include <mutex>
#include <string>
#include <sys/auxv.h>
#include <unistd.h>

namespace winport {
namespace {

struct ModuleRegistry {
    std::mutex mutex;
    std::map<const void*, HMODULE> byBase;
};

ModuleRegistry& Registry() {
    static ModuleRegistry* const registry = new ModuleRegistry;  // lives as long as the handles
    return *registry;
}

std::string ExecutablePath() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

// Load address of the program itself: its program headers lie inside it.
const void* ExecutableBase() {
    Dl_info info;
    const auto phdr = reinterpret_cast<const void*>(::getauxval(AT_PHDR));
    return ::dladdr(phdr, &info) != 0 ? info.dli_fbase : nullptr;
}

HMODULE ModuleForBase(const void* base, const char* fileName) {
    ModuleRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.byBase.find(base);
    if (it != r.byBase.end()) {
        return it->second;
    }
    std::string path;
    if (base == ExecutableBase()) {
        path = ExecutablePath();
    } else if (fileName != nullptr) {
        char real[PATH_MAX];
        path = ::realpath(fileName, real) != nullptr ? real : fileName;
    }
    auto handle = static_cast<HMODULE>(RegisterObject(std::make_shared<ModuleObject>(base, std::move(path))));
    r.byBase.emplace(base, handle);
    return handle;
}

HMODULE ModuleForAddress(const void* address) {
    Dl_info info;
    if (address == nullptr || ::dladdr(address, &info) == 0 || info.dli_fbase == nullptr) {
        return nullptr;
    }
    return ModuleForBase(info.dli_fbase, info.dli_fname);
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The name without a ".dll", ".so" or ".so.N" ending and without "lib", so
// that "winport", "winport.dll" and "libwinport.so" all name one module.
std::string_view Stem(std::string_view name) {
    const auto slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos) {
        name = name.substr(slash + 1);
    }
    const auto so = name.find(".so");
    if (so != std::string_view::npos && (so + 3 == name.size() || name[so + 3] == '.')) {
        name = name.substr(0, so);
    } else if (name.size() > 4 && SameNameIgnoringCase(name.substr(name.size() - 4), ".dll")) {
        name = name.substr(0, name.size() - 4);
    }
    if (name.size() > 3 && name.substr(0, 3) == "lib") {
        name = name.substr(3);
    }
    return name;
}

struct NameSearch {
    std::string_view stem;
    const void* address = nullptr;  // inside the object found
};

int VisitObject(struct dl_phdr_info* info, size_t, void* data) {
    auto* search = static_cast<NameSearch*>(data);
    if (info->dlpi_name == nullptr || info->dlpi_name[0] == '\0' ||
        !SameNameIgnoringCase(Stem(info->dlpi_name), search->stem)) {
        return 0;
    }
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        if (info->dlpi_phdr[i].p_type == PT_LOAD) {
            search->address = reinterpret_cast<const void*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
            return 1;
        }
    }
    return 0;
}

HMODULE ModuleForName(const char* name) {
    if (name == nullptr) {
        return ModuleForBase(ExecutableBase(), nullptr);
    }
    if (HMODULE pe = FindLoadedPeModule(name)) {
        return pe;
    }
    NameSearch search{Stem(name)};
    ::dl_iterate_phdr(VisitObject, &search);
    if (search.address == nullptr) {
        const std::string exe = ExecutablePath();
        if (SameNameIgnoringCase(Stem(exe), search.stem)) {
            return ModuleForBase(ExecutableBase(), nullptr);
        }
        return nullptr;
    }
    return ModuleForAddress(search.address);
}

}  // namespace
}  // namespace winport

using namespace winport;

extern "C" {

WINBASEAPI HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    HMODULE module = ModuleForName(lpModuleName);
    if (module == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
    }
    return module;
}

WINBASEAPI BOOL WINAPI GetModuleHandleExA(DWORD dwFlags, LPCSTR lpModuleName, HMODULE* phModule) {
    if (phModule == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *phModule = nullptr;
    const DWORD known = GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT |
                        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS;
    if ((dwFlags & ~known) != 0 || ((dwFlags & GET_MODULE_HANDLE_EX_FLAG_PIN) &&
                                    (dwFlags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HMODULE module = (dwFlags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS)
                         ? ModuleForAddress(lpModuleName)
                         : ModuleForName(lpModuleName);
    if (module == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    if ((dwFlags & (GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT | GET_MODULE_HANDLE_EX_FLAG_PIN)) == 0) {
        if (auto obj = Lookup<ModuleObject>(module)) {
            obj->AddRef();
        }
    }
    *phModule = module;
    return TRUE;
}

WINBASEAPI DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
    std::string path;
    if (hModule == nullptr) {
        path = ExecutablePath();
    } else if (auto module = Lookup<ModuleObject>(hModule)) {
        path = module->path();
    } else {
        SetLastError(ERROR_MOD_NOT_FOUND);  // what Windows answers for a handle that names no module
        return 0;
    }
    if (lpFilename == nullptr || nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    // Too small: the path is cut to nSize - 1 characters, NUL-ended, and the
    // call returns nSize with ERROR_INSUFFICIENT_BUFFER.
    if (path.size() >= nSize) {
        std::memcpy(lpFilename, path.data(), nSize - 1);
        lpFilename[nSize - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    std::memcpy(lpFilename, path.c_str(), path.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
}

}  // extern "C"
