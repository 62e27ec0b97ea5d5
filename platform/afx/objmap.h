// Per-thread maps from a Windows handle to its framework object.
#pragma once
//
// Permanent entries belong to their objects (Attach adds, Detach removes).
// Temporary objects belong to the map: FromHandle makes one for a handle
// that no object is tied to. They are freed when the thread ends, or swept
// once the map holds many of them, then only those whose handle is gone, so
// that a temporary handed out for a live handle stays valid (the Windows
// build keeps a thread's map after the thread: see Current).
//
// Every call acts on the calling thread's map. A wrapper that outlives its
// thread's map (a static object, destroyed after the main thread's own
// objects) finds none: FromHandle and Permanent answer NULL and the other
// calls have nothing left to update.
//
// Traits supplies static BOOL IsLive(H) (the handle still names an object)
// and static void Tie(T*, H) (sets the object's handle members; NULL lets a
// temporary go of its handle before it is deleted).

#include <memory>
#include <unordered_map>

#include <windows.h>

namespace afx {

template <class T, class H, class Traits>
class HandleMap {
public:
    [[nodiscard]] static T* Permanent(H h) {
        Maps* maps = Current();
        if (h == nullptr || maps == nullptr) return nullptr;
        const auto it = maps->permanent.find(h);
        return it == maps->permanent.end() ? nullptr : it->second;
    }

    // A new temporary is made as a U (a class derived from T, for the typed
    // FromHandle calls); an existing object is answered as it is.
    template <class U = T>
    [[nodiscard]] static U* FromHandle(H h) {
        Maps* maps = Current();
        if (h == nullptr || maps == nullptr) return nullptr;
        if (T* p = Permanent(h)) return static_cast<U*>(p);
        const auto it = maps->temporary.find(h);
        if (it != maps->temporary.end()) return static_cast<U*>(it->second.get());
        if (maps->temporary.size() >= kSweepAt) maps->SweepDead();
        auto obj = std::make_unique<U>();
        Traits::Tie(obj.get(), h);
        U* p = obj.get();
        maps->temporary.emplace(h, std::move(obj));
        return p;
    }

    static void SetPermanent(H h, T* p) {
        if (Maps* maps = Current()) maps->permanent[h] = p;
    }

    static void RemovePermanent(H h, const T* p) {
        Maps* maps = Current();
        if (maps == nullptr) return;
        const auto it = maps->permanent.find(h);
        if (it != maps->permanent.end() && it->second == p) maps->permanent.erase(it);
    }

    static void DeleteTemporaries() {
        if (Maps* maps = Current()) maps->DeleteTemporaries();
    }

private:
    static constexpr size_t kSweepAt = 64;

    struct Maps {
        Maps() = default;
        Maps(const Maps&) = delete;
        Maps& operator=(const Maps&) = delete;
        ~Maps() {
            DeleteTemporaries();
            s_ended = true;
        }
        void DeleteTemporaries() {
            for (auto& [h, obj] : temporary) Traits::Tie(obj.get(), nullptr);
            temporary.clear();
        }
        void SweepDead() {
            for (auto it = temporary.begin(); it != temporary.end();) {
                if (Traits::IsLive(it->first)) {
                    ++it;
                } else {
                    Traits::Tie(it->second.get(), nullptr);
                    it = temporary.erase(it);
                }
            }
        }
        std::unordered_map<H, T*> permanent;
        std::unordered_map<H, std::unique_ptr<T>> temporary;
    };

    static Maps* Current() {
        if (s_ended) return nullptr;
#if defined(_WIN32)
        // The mingw-w64 runtime runs a DLL's thread_local destructors in a
        // way that never lets the thread finish under Wine (a std::thread
        // that used a map could not be joined). So in the DLL the thread's
        // map lives on after the thread, with its temporaries: a small leak
        // per thread that used one, instead of a hang.
        static thread_local Maps* maps = new Maps;
        return maps;
#else
        static thread_local Maps maps;
        return &maps;
#endif
    }

    // Plain data: still readable after the thread's objects are destroyed.
    static inline thread_local bool s_ended = false;
};

}  // namespace afx
