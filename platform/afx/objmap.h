// Per-thread maps from a Windows handle to its framework object.
#pragma once
//
// Permanent entries belong to their objects (Attach adds, Detach removes).
// Temporary objects belong to the map: FromHandle makes one for a handle
// that no object is tied to. They are freed when the thread ends, or swept
// once the map holds many of them, then only those whose handle is gone, so
// that a temporary handed out for a live handle stays valid.

#include <memory>
#include <unordered_map>

#include <windows.h>

namespace afx {

template <class T, class H, H T::*Member>
class HandleMap {
public:
    using IsLive = BOOL(WINAPI*)(H);

    explicit HandleMap(IsLive isLive) : m_isLive(isLive) {}
    HandleMap(const HandleMap&) = delete;
    HandleMap& operator=(const HandleMap&) = delete;
    ~HandleMap() { DeleteTemporaries(); }

    [[nodiscard]] T* Permanent(H h) const {
        const auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }

    [[nodiscard]] T* FromHandle(H h) {
        if (h == nullptr) return nullptr;
        if (T* p = Permanent(h)) return p;
        const auto it = m_temporary.find(h);
        if (it != m_temporary.end()) return it->second.get();
        if (m_temporary.size() >= kSweepAt) SweepDead();
        auto obj = std::make_unique<T>();
        obj.get()->*Member = h;
        T* p = obj.get();
        m_temporary.emplace(h, std::move(obj));
        return p;
    }

    void SetPermanent(H h, T* p) { m_permanent[h] = p; }
    void RemovePermanent(H h, const T* p) {
        const auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == p) m_permanent.erase(it);
    }

    void DeleteTemporaries() {
        for (auto& [h, obj] : m_temporary) obj.get()->*Member = nullptr;
        m_temporary.clear();
    }

private:
    static constexpr size_t kSweepAt = 64;

    void SweepDead() {
        for (auto it = m_temporary.begin(); it != m_temporary.end();) {
            if (m_isLive(it->first)) {
                ++it;
            } else {
                it->second.get()->*Member = nullptr;
                it = m_temporary.erase(it);
            }
        }
    }

    IsLive m_isLive;
    std::unordered_map<H, T*> m_permanent;
    std::unordered_map<H, std::unique_ptr<T>> m_temporary;
};

}  // namespace afx
