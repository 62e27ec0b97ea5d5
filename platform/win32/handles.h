// The process-wide handle table: winport objects behind HANDLE, HWND, HMODULE...
#pragma once
//
// A handle value is the address of a winport object, but no code ever follows
// a handle before the table has confirmed that it names a live object of the
// expected kind: a stale, foreign or garbage handle is answered the Windows
// way (FALSE/NULL and a last error), never with a crash.

#include <windows.h>

#include <cstdint>
#include <memory>

namespace winport {

// One tag per object family. Families that other parts of winport add later
// get their tag here so that every lookup can tell all of them apart.
enum class ObjectKind : std::uint32_t {
    File = 1,
    Find,
    Module,
    Mutex,
    Event,
    Window,
    Menu,
    Gdi,
    Token,
    ImageList,
    Icon,
};

// Owned by the table while registered, and by each caller holding a lookup
// result: an object closed on one thread stays alive until another thread's
// call that is still using it returns.
class Object {
public:
    explicit Object(ObjectKind kind) : m_kind(kind) {}
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    [[nodiscard]] ObjectKind kind() const { return m_kind; }

private:
    const ObjectKind m_kind;
};

// Enters obj in the table; the handle is its address.
void* RegisterObject(std::shared_ptr<Object> obj);

// Enters obj in the table under a handle value of its own, never given out
// before: for objects whose handles callers keep after destroying them
// (windows, menus), where a reused address would let a stale handle name a
// newer object. The values are small, as user32's are, and lie outside
// every heap address.
void* RegisterObjectWithFreshHandle(std::shared_ptr<Object> obj);

// The live object registered under handle if it is of this kind, else null.
[[nodiscard]] std::shared_ptr<Object> LookupObject(const void* handle, ObjectKind kind);

// Takes the object out of the table if it is of this kind; returns it (the
// caller's reference is then the last one the table knew about) or null.
std::shared_ptr<Object> UnregisterObject(const void* handle, ObjectKind kind);

// CloseHandle's share: takes the object out of the table if it is a kernel
// object (file, mutex, event, token), the kinds that CloseHandle closes on Windows.
std::shared_ptr<Object> UnregisterKernelObject(const void* handle);

template <class T>
[[nodiscard]] std::shared_ptr<T> Lookup(const void* handle) {
    return std::static_pointer_cast<T>(LookupObject(handle, T::kKind));
}

// Lookup that sets ERROR_INVALID_HANDLE when the handle is not of T's kind.
template <class T>
[[nodiscard]] std::shared_ptr<T> LookupOrFail(const void* handle) {
    auto obj = Lookup<T>(handle);
    if (!obj) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return obj;
}

}  // namespace winport
