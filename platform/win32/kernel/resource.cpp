// kernel32 resources: FindResourceA, LoadResource, LockResource,
// SizeofResource, FreeResource over the modules of library.cpp.
//
// An HRSRC is the address of the resource's data entry inside the module's
// bytes and an HGLOBAL the address of its data, as on Windows; both stay
// valid while the module is loaded. Before either is followed it is checked
// to lie inside the module it is given with.
//
// A handle that names no PE module (the program itself, a shared object, a
// stale or made-up handle) has no resources: error 1812, as Wine answers.
#include "win32/handles.h"
#include "win32/kernel/pemodule.h"

namespace winport {
namespace {

// The image of a module handle; null with the last error set.
std::shared_ptr<ModuleObject> ModuleWithImage(HMODULE hModule, DWORD err) {
    auto module = hModule != nullptr ? Lookup<ModuleObject>(hModule) : nullptr;
    if (!module || module->image() == nullptr) {
        SetLastError(err);
        return nullptr;
    }
    return module;
}

// The data entry offset that hResInfo stands for in image, if it is inside.
bool EntryOffset(const PeImage& image, HRSRC hResInfo, std::uint32_t& offset) {
    const auto p = reinterpret_cast<const std::uint8_t*>(hResInfo);
    const auto base = image.bytes();
    // Compared as integers: pointers into different objects do not compare.
    const auto address = reinterpret_cast<std::uintptr_t>(p);
    const auto start = reinterpret_cast<std::uintptr_t>(base);
    if (p == nullptr || address < start || address - start >= image.size()) {
        return false;
    }
    offset = static_cast<std::uint32_t>(address - start);
    return true;
}

// The data of hResInfo in hModule; false when either handle is not valid.
bool ResourceBytes(HMODULE hModule, HRSRC hResInfo, const std::uint8_t*& data, std::uint32_t& size) {
    if (hResInfo == nullptr) {
        return false;
    }
    auto module = ModuleWithImage(hModule, ERROR_INVALID_HANDLE);
    std::uint32_t offset = 0;
    if (!module) {
        return false;
    }
    if (!EntryOffset(*module->image(), hResInfo, offset) || !module->image()->ResourceData(offset, data, size)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return true;
}

}  // namespace
}  // namespace winport

using namespace winport;

extern "C" {

WINBASEAPI HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
    auto module = ModuleWithImage(hModule, ERROR_RESOURCE_DATA_NOT_FOUND);
    if (!module) {
        return nullptr;
    }
    ResourceKey type;
    ResourceKey name;
    if (!ResourceKeyFromArgument(lpType, type) || !ResourceKeyFromArgument(lpName, name)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::uint32_t entry = 0;
    const DWORD err = module->image()->FindResourceEntry(type, name, entry);
    if (err != ERROR_SUCCESS) {
        SetLastError(err);
        return nullptr;
    }
    return reinterpret_cast<HRSRC>(const_cast<std::uint8_t*>(module->image()->bytes() + entry));
}

WINBASEAPI HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
    const std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    if (!ResourceBytes(hModule, hResInfo, data, size)) {
        return nullptr;
    }
    return const_cast<std::uint8_t*>(data);
}

WINBASEAPI LPVOID WINAPI LockResource(HGLOBAL hResData) {
    return hResData;
}

WINBASEAPI DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
    const std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    return ResourceBytes(hModule, hResInfo, data, size) ? size : 0;
}

WINBASEAPI BOOL WINAPI FreeResource(HGLOBAL) {
    return FALSE;  // resources live as long as their module; FALSE is "success" here
}

}  // extern "C"
