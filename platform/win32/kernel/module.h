// The module object behind an HMODULE (winport-private).
#pragma once

#include "win32/handles.h"

#include <atomic>
#include <string>

namespace winport {

// A loaded module: for now the shared objects of the process (the program
// itself included), found by address or name. The object lives as long as
// the process; the reference count only mirrors Windows' bookkeeping.
// Owned by the handle table; other module families derive from it so that
// GetModuleFileNameA serves them all.
class ModuleObject : public Object {
public:
    static constexpr ObjectKind kKind = ObjectKind::Module;

    ModuleObject(const void* base, std::string path) : Object(kKind), m_base(base), m_path(std::move(path)) {}

    [[nodiscard]] const void* base() const { return m_base; }
    // The real path of the file the module was loaded from.
    [[nodiscard]] const std::string& path() const { return m_path; }
    void AddRef() { m_refs.fetch_add(1, std::memory_order_relaxed); }

private:
    const void* const m_base;
    const std::string m_path;
    std::atomic<long> m_refs{1};
};

}  // namespace winport
