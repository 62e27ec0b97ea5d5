// The module object behind an HMODULE (winport-private).
#pragma once

#include "win32/handles.h"

#include <atomic>
#include <string>

namespace winport {

class PeImage;

// A loaded module: the shared objects of the process (the program itself
// included), found by address or name, which live as long as the process
// (their reference count only mirrors Windows' bookkeeping); and PE images
// that LoadLibraryA read as data, which FreeLibrary unloads when their count
// drops to zero. Owned by the handle table; the module families derive from
// it so that GetModuleFileNameA serves them all.
class ModuleObject : public Object {
public:
    static constexpr ObjectKind kKind = ObjectKind::Module;

    ModuleObject(const void* base, std::string path) : Object(kKind), m_base(base), m_path(std::move(path)) {}

    [[nodiscard]] const void* base() const { return m_base; }
    // The real path of the file the module was loaded from.
    [[nodiscard]] const std::string& path() const { return m_path; }
    void AddRef() { m_refs.fetch_add(1, std::memory_order_relaxed); }
    // The count left after this release.
    long Release() { return m_refs.fetch_sub(1, std::memory_order_acq_rel) - 1; }
    // The PE image whose resources the module offers; null for shared objects.
    [[nodiscard]] virtual const PeImage* image() const { return nullptr; }

private:
    const void* const m_base;
    const std::string m_path;
    std::atomic<long> m_refs{1};
};

}  // namespace winport
