// The process-wide handle table.
#include "win32/handles.h"

#include <mutex>
#include <unordered_map>

namespace winport {
namespace {

// One mutex is enough: lookups are a hash probe, and every caller that does
// real work (I/O) does it after the lookup, outside the lock.
struct Table {
    std::mutex mutex;
    std::unordered_map<const void*, std::shared_ptr<Object>> objects;
};

// Never destroyed, so handles stay checkable from static destructors of any
// library that is unloaded after winport's own statics are gone.
Table& TheTable() {
    static Table* const table = new Table;
    return *table;
}

}  // namespace

void* RegisterObject(std::shared_ptr<Object> obj) {
    void* const handle = obj.get();
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.objects[handle] = std::move(obj);
    return handle;
}

void* RegisterObjectWithFreshHandle(std::shared_ptr<Object> obj) {
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.mutex);
    static std::uintptr_t next = 0x10000;
    void* const handle = reinterpret_cast<void*>(next);
    next += 4;
    t.objects[handle] = std::move(obj);
    return handle;
}

std::shared_ptr<Object> LookupObject(const void* handle, ObjectKind kind) {
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.mutex);
    const auto it = t.objects.find(handle);
    if (it == t.objects.end() || it->second->kind() != kind) {
        return nullptr;
    }
    return it->second;
}

namespace {

template <class Pred>
std::shared_ptr<Object> UnregisterIf(const void* handle, Pred pred) {
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.mutex);
    const auto it = t.objects.find(handle);
    if (it == t.objects.end() || !pred(it->second->kind())) {
        return nullptr;
    }
    std::shared_ptr<Object> obj = std::move(it->second);
    t.objects.erase(it);
    // The caller's reference may be the last: the object is destroyed (its
    // descriptor closed) after the lock is released.
    return obj;
}

}  // namespace

std::shared_ptr<Object> UnregisterObject(const void* handle, ObjectKind kind) {
    return UnregisterIf(handle, [kind](ObjectKind k) { return k == kind; });
}

std::shared_ptr<Object> UnregisterKernelObject(const void* handle) {
    return UnregisterIf(handle, [](ObjectKind k) {
        return k == ObjectKind::File || k == ObjectKind::Mutex || k == ObjectKind::Event ||
               k == ObjectKind::Token;
    });
}

}  // namespace winport
